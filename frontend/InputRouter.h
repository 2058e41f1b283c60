// From SDL input events to the game's input and the window's own commands: window keys kept
// from the game, mouse presses only on the picture, game controllers as arrow keys with the
// keyboard's auto-repeat, as their bindings say.
#pragma once

#include <SDL.h>

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "frontend/KeyCodes.h"
#include "frontend/SdlHandles.h"
#include "shell/ButtonNames.h"
#include "shell/Commands.h"
#include "shell/Scaling.h"
#include "toolkit/Clock.h"

namespace hopla {

// The keyboard's auto-repeat: the first repeat `delay` after the press, then one every
// `interval`. The defaults are the X server's own.
struct RepeatTiming {
    Duration delay = std::chrono::milliseconds(660);
    Duration interval = std::chrono::milliseconds(40);
};

// The window command of a key pressed with these modifiers, if it is a window key: F11 and
// Alt+Enter toggle the whole screen, Ctrl+Plus and Ctrl+Minus (main or keypad keys, Ctrl+= too)
// change the window's scale, Esc opens the menu, P and Pause pause, M mutes, F12 takes a
// screenshot (these five without Ctrl, Alt or Super).
std::optional<Command> WindowCommandOf(SDL_Keycode key, Uint16 modifiers);

// Holds the open game controllers. Times are on the game's clock.
class InputRouter {
  public:
    explicit InputRouter(RepeatTiming repeat = {}) : repeat_(repeat) {}
    ~InputRouter() = default;
    InputRouter(const InputRouter&) = delete;
    InputRouter& operator=(const InputRouter&) = delete;

    // Appends what `event` asks for to `out`. Keys: a window key's press, repeats and release
    // never reach the game, nor do Shift, Ctrl, Alt and Super (they only make window keys);
    // every other key goes on as it came, repeats included, with the code its binding gives
    // (GameKeyOf; a key without one is dropped). Mouse presses
    // count only on the picture (its place in the window given by `layout`, its size w x h).
    // Controllers: plugged in, opened; unplugged, closed with their held keys released; the
    // left stick left/right and the buttons bound to the game's roles (by default the d-pad's
    // left and right, and Start and Back) are the arrow keys (kVkLeft, kVkRight) and Space,
    // the left and right shoulder buttons the left and right mouse buttons; Guide, or
    // Back and Start held together, is Menu (the first of the two still counts as Space); d-pad
    // up and down, A and B are the menu's Up, Down, Select and Back (Select skips the opening
    // too); Y is Action and the triggers PagePrevious and PageNext (the editor's).
    void route(const SDL_Event& event, Duration now, const Layout& layout, int w, int h,
               std::vector<Routed>& out);
    // When the held controller direction repeats next; none when nothing repeats.
    std::optional<Duration> nextRepeat() const;
    // Appends the repeats due by `now` (as many as the keyboard would have sent meanwhile).
    void repeatDue(Duration now, std::vector<Routed>& out);

    std::size_t controllers() const { return pads_.size(); }
    // What was used last: the keyboard, or a controller's face layout as SDL reports it.
    InputFamily family() const { return family_; }
    void setRepeat(RepeatTiming repeat) { repeat_ = repeat; }
    // Which keys steer and go back; the defaults until set.
    void setKeyBindings(KeyBindings bindings) { bindings_ = std::move(bindings); }
    // While typing, P and M are keys like the other letters rather than Pause and Mute.
    void setTyping(bool typing) { typing_ = typing; }
    // While a new binding is asked for, the next key pressed (Esc included; modifiers not) is a
    // BindKey and the next controller button a BindButton, but the East button (B), which is
    // Back as ever; nothing reaches the game meanwhile.
    void setCapturing(bool capturing) { capturing_ = capturing; }

  private:
    struct Pad {
        ControllerHandle handle;
        InputFamily family = InputFamily::Xbox;
        std::set<PadButton> held;  // of the buttons that can play the game's keys
        bool leftTrigger = false, rightTrigger = false;
        int stick = 0;  // -1 left, 0 centre, 1 right, with hysteresis
    };

    void routeKey(const SDL_KeyboardEvent& key, std::vector<Routed>& out);
    void routeController(const SDL_Event& event, Duration now, std::vector<Routed>& out);
    // Sends the edges between the keys the controllers held and the keys they hold now.
    void settle(Duration now, std::vector<Routed>& out);

    RepeatTiming repeat_;
    KeyBindings bindings_;
    bool typing_ = false;
    bool capturing_ = false;
    InputFamily family_ = InputFamily::Keyboard;
    std::set<SDL_Keycode> windowKeysDown_;  // pressed as window keys: their release is kept too
    std::map<SDL_JoystickID, Pad> pads_;
    std::set<int> padKeysDown_;  // game keys held through controllers
    std::optional<int> repeatKey_;
    Duration nextRepeat_{0};
};

// The auto-repeat the keyboard gives this window: asked of the X server when the window is on
// X11, the X server's defaults otherwise.
RepeatTiming KeyboardRepeatOf(SDL_Window* window);

}  // namespace hopla
