// What the window's runner runs (the game with its shell, or the stage editor) and what the
// runner offers it in return. No SDL: the runner in frontend/ turns events into these calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/Commands.h"
#include "shell/Menu.h"
#include "shell/RealClock.h"
#include "shell/SettingRows.h"
#include "toolkit/Clock.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"
#include "toolkit/Sound.h"
#include "toolkit/Text.h"

namespace hopla {

// The pointer over the window, in the client's picture's pixels: off the picture too (negative,
// or past its size), where `inside` is false. Buttons are play/Keys.h's mouse buttons: the one
// pressed or released, or for a motion the ones held (as bits).
struct PointerInput {
    enum class Kind { Move, Press, Release };
    Kind kind = Kind::Move;
    int button = 0;
    int x = 0, y = 0;
    bool inside = false;
    // For a motion: whether the pointer itself moved, not the window under it (after a change
    // of the window's size the window system reports a motion of a still pointer).
    bool moved = true;
};

// What the runner shows next: the whole picture, only its changed part, or nothing.
struct Frame {
    const Image* picture = nullptr;
    Rect changed;
    bool whole = false;
};

// The window, the sound device, the text and the settings of the window, as a client sees them.
// Called by the client from within the runner's calls to it.
class WindowHost {
  public:
    virtual SoundDevice& sound() = 0;
    virtual const TextRenderer& text() const = 0;
    // Holds the sound where it is while play is paused, and goes on from there.
    virtual void setSoundPaused(bool paused) = 0;
    // The settings as they stand in this run (the whole screen and the scaling as the window
    // has them), whether the sound is muted, and whether there is a sound device.
    virtual MenuValues values() const = 0;
    // A setting stepped by the player (a menu row): carried out, then remembered.
    virtual void stepSetting(Setting setting, int direction) = 0;
    // The client's picture sent to the window whole, at once (shown()).
    virtual void showAll() = 0;
    // While typing, the keys that type letters are letters (P and M are no window keys) and the
    // typed text reaches the client (WindowClient::text).
    virtual void setTyping(bool typing) = 0;
    // While capturing, the next key or controller button reaches the client as a BindKey or
    // BindButton (Esc and the controller's B as Back), and nothing else of the keyboard or the
    // controllers' buttons does.
    virtual void setCapturing(bool capturing) = 0;
    // `role` played by the key (or, `pad`, the controller button) `code` alone from now on, and
    // remembered in the settings file; or refused (a window key, a button of the menu's, a key
    // that plays another role). Returns the line that says which.
    virtual std::string bind(Role role, bool pad, std::int32_t code) = 0;
    // Every role played by its default keys and buttons again, and the file's [keys] lines gone.
    virtual void resetKeys() = 0;

  protected:
    ~WindowHost() = default;
};

// Run by the runner: input first, then the due timers one at a time (input that came meanwhile
// between them), then the frame; then it sleeps until the next wake or input.
class WindowClient {
  public:
    virtual ~WindowClient() = default;
    // The picture's size, fixed for the client's life.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // The clock the client's timers and wakes are on; the runner's controller repeats are on it
    // too.
    virtual RealClock& clock() = 0;
    virtual bool ended() const = 0;
    // While paused no timer runs and no repeat falls due: only input wakes the runner.
    virtual bool paused() const = 0;

    // Every input the runner does not take itself (it takes the whole screen, the window's
    // scale, the screenshot and mute): the keys after their bindings, presses on the picture,
    // and the shell's commands.
    virtual void input(const Routed& input) = 0;
    // The pointer; true when the client took it (a press then makes no MouseDown).
    virtual bool pointer(const PointerInput& pointer) = 0;
    // Text typed while the client asked for typing (WindowHost::setTyping).
    virtual void text(std::string_view typed) = 0;
    // The window's close request.
    virtual void close() = 0;
    // The window lost or regained the focus, with the setting that pauses play then.
    virtual void away(bool away) = 0;
    // A value the client may show (volume, mute) changed by a window key.
    virtual void valuesChanged() = 0;

    // Anything due besides the timers (a demo's next input), before each timer.
    virtual void feed() = 0;
    // Runs the earliest timer due by the clock's now; false when none is due.
    virtual bool runDueTimer() = 0;
    // When the client is due next on its clock; none when only input can wake it.
    virtual std::optional<Duration> nextWake() const = 0;

    // What changed since the last frame.
    virtual Frame frame() = 0;
    // The whole picture as the window shows it, for the window to be drawn again.
    virtual const Image& shown() = 0;
    // The picture F12 saves.
    virtual const Image& screenshot() = 0;
};

}  // namespace hopla
