// The one window runner: the window, the sound device, the controllers and the event loop, around
// a client (the game with its shell, or the stage editor).
#pragma once

#include <SDL.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frontend/EventWait.h"
#include "frontend/InputRouter.h"
#include "frontend/Screen.h"
#include "frontend/SdlHandles.h"
#include "frontend/SdlSound.h"
#include "shell/Overlay.h"
#include "shell/Settings.h"
#include "shell/WindowClient.h"
#include "toolkit/text/TtfText.h"

namespace hopla {

// How the window starts, and where the player's changes to it are remembered.
struct AppOptions {
    Settings settings;         // for this run: the remembered ones with the command line's on top
    Settings remembered;       // what the settings file holds; the player's changes are added to it
    bool mute = false;         // no sound device at all
    std::string settingsPath;  // empty: changes are not remembered
    // In the browser, whose loop must never block: a sound played with wait holds the game's
    // clock for its length instead of blocking the handler (RealClock::holdFor).
    bool holdSounds = false;
    // Whether the settings file or the command line said whether to start on the whole screen
    // or gave the window's scale; if not, a small screen (a handheld's 1280 x 800 or less)
    // starts on the whole screen.
    bool fullscreenChosen = true;
};

// Construction opens the window (hidden until the client is attached) and the sound device;
// destruction closes them. The runner takes the window's own keys (whole screen, scale,
// screenshot, mute), the window's events and the settings; everything else goes to the client.
class WindowRunner final : public WindowHost {
  public:
    // A window for a `width` x `height` picture. Throws std::runtime_error when there is no
    // display to open the window on.
    WindowRunner(const std::string& title, int width, int height, const AppOptions& options);
    WindowRunner(const WindowRunner&) = delete;
    WindowRunner& operator=(const WindowRunner&) = delete;

    // The client the runner runs from now on, of the size the window was made for; shown at
    // once. It must outlive the runner's use of it.
    void attach(WindowClient& client);
    // Rounds until the client has ended, sleeping in between.
    void run();
    // One round without its wait: the pending input, the due timers one at a time, the frame.
    // Returns when the next round is due on the client's clock (a timer, a controller repeat,
    // the end of a held sound); none when only input can wake it, or once the client has ended.
    std::optional<Duration> step();

    Screen& screen() { return screen_; }

    // WindowHost
    SoundDevice& sound() override { return sound_; }
    const TextRenderer& text() const override { return text_; }
    void setSoundPaused(bool paused) override { sound_.setPaused(paused); }
    MenuValues values() const override;
    void stepSetting(Setting setting, int direction) override;
    void showAll() override;
    void setTyping(bool typing) override;
    void setCapturing(bool capturing) override { router_.setCapturing(capturing); }
    // The browser's page on a touch screen: the keyboard's keys are its buttons, and the hints
    // name those (InputFamily::Touch) until a controller is used.
    void setTouchScreen(bool touch) { touchScreen_ = touch; }
    std::string bind(Role role, bool pad, std::int32_t code) override;
    void resetKeys() override;

  private:
    void deliverPending();
    void deliver(const SDL_Event& event);
    void deliverPointer(const SDL_Event& event);
    void apply(const std::vector<Routed>& routed);
    // Takes the window's own commands; false for the client's.
    bool windowCommand(Command command);
    void onWindowEvent(const SDL_WindowEvent& event);
    // The player changed `setting` (in settings_): it is remembered from now on.
    void remember(Setting setting);
    // The key bindings changed (in settings_ and saved_): the router and the file get them.
    void rememberKeys();
    // Whether the pointer moved from its last place (its new place noted).
    bool pointerMoved(int x, int y);
    void screenshot();
    void present();
    // The window's note (a screenshot saved) shows for a few seconds over whatever is shown.
    void showNote(std::string line);
    bool noting() const { return !note_.empty(); }
    void setVolume(int volume);
    void setMuted(bool muted);

    SdlSubsystem video_;
    SdlSubsystem controllers_;  // may fail: then there are none
    Screen screen_;
    SdlSound sound_;
    TtfText text_;
    InputRouter router_;
    WindowClient* client_ = nullptr;
    Settings settings_;  // the window's and the sound's choices in this run
    Settings saved_;     // what the settings file is to hold
    std::string settingsPath_;
    bool saveFailed_ = false;
    Overlay noteOverlay_{text_};
    std::string note_;
    SteadyTime noteUntil_{};
    bool muted_ = false;  // by --mute or M
    bool touchScreen_ = false;
    std::vector<Routed> routed_;  // scratch for one event's inputs
    // The pointer's last place in the window; a motion counts only when it moves from there. A
    // change of the window's size moves it without the player (SDL then tells of a motion), so
    // the next motion after one only sets it.
    std::optional<std::pair<int, int>> pointer_;
    bool pointerRebase_ = false;
};

}  // namespace hopla
