// The running game on SDL: window, sound, controllers, clock and the event loop around
// hopla::Game.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "demo/Demo.h"
#include "frontend/InputRouter.h"
#include "frontend/Screen.h"
#include "frontend/SdlHandles.h"
#include "frontend/SdlSound.h"
#include "shell/Menu.h"
#include "shell/Overlay.h"
#include "shell/PauseGate.h"
#include "shell/QuickStart.h"
#include "shell/RealClock.h"
#include "shell/Settings.h"
#include "toolkit/text/TtfText.h"

namespace hopla {

class DemoLink;
class RecordKeeper;

// How the window starts, and where the player's changes to it are remembered.
struct AppOptions {
    Settings settings;         // for this run: the remembered ones with the command line's on top
    Settings remembered;       // what the settings file holds; the player's changes are added to it
    bool mute = false;         // no sound device at all
    std::string settingsPath;  // empty: changes are not remembered
    // In the browser, whose loop must never block: a sound played with wait holds the game's
    // clock for its length instead of blocking the handler (RealClock::holdFor).
    bool holdSounds = false;
};

// Construction runs the game's start-up and opens the window; run() returns when the game has
// ended or the window was asked to close. Destruction closes the window and the audio device.
class SdlApp {
  public:
    // Throws std::runtime_error when there is no display to open the window on.
    SdlApp(std::uint32_t seed, const std::string& exeDir, const AppOptions& options = {});
    SdlApp(const SdlApp&) = delete;
    SdlApp& operator=(const SdlApp&) = delete;

    void run();
    // One round of run()'s loop without its wait: the pending input, the due timers one at a
    // time, the changed picture to the window. Returns when the next round is due on the game's
    // clock (a timer, a controller poll or repeat, a demo's input, the end of a held sound);
    // none when only input can wake it, or once the game has ended. The browser's loop
    // (apps/hopla/WebMain.cpp) calls it from a timeout.
    std::optional<Duration> step();
    bool ended() const { return game_.ended(); }

    // For probes of the loop: the game, to script it between handlers (as one of its observers),
    // and an observer told after each timer tick which timer it was, when it was due and when
    // its handler started and returned, on the game's clock.
    using TickObserver = std::function<void(std::string_view timer, Duration due, Duration started,
                                            Duration returned)>;
    Game& game() { return game_; }
    void setTickObserver(TickObserver observer) { tickObserver_ = std::move(observer); }
    // For probes and tests of the window: told of every input handed to the game, after its
    // handler ran.
    using InputObserver = std::function<void(const Routed& input)>;
    void setInputObserver(InputObserver observer) { inputObserver_ = std::move(observer); }

    // A demo being recorded or played (--record, --play): the player's input goes through it
    // and the loop feeds the game its inputs; the window keys stay the window's. Set before
    // run(); it must outlive run().
    const Clock& clock() const { return clock_; }
    void setDemo(DemoLink* demo);
    // The player's records: told of every input of the player and, after every timer handler,
    // asked to look for the final screen. Set before run(); it must outlive run().
    void setRecordKeeper(RecordKeeper* keeper) { keeper_ = keeper; }

    // What the menu's keys and records pages list, asked each time the page is drawn; without
    // one, the keys page lists the keys the game reads and the records page says there are
    // none yet.
    using Lines = std::function<std::vector<std::string>()>;
    void setKeyLines(Lines lines) { keyLines_ = std::move(lines); }
    void setRecordLines(Lines lines) { recordLines_ = std::move(lines); }
    // Whether play is paused (by P, the menu, or the window being away), and the menu, for
    // probes and tests.
    bool paused() const { return gate_.paused(); }
    const Menu& menu() const { return menu_; }

  private:
    bool runDueTimer();
    void deliverPending();
    void deliver(const SDL_Event& event);
    void apply(const std::vector<Routed>& routed);
    void command(Command command);
    void onWindowEvent(const SDL_WindowEvent& event);
    // The player changed `setting` (in settings_): it is remembered from now on.
    void remember(Setting setting);
    void input(InputKind kind, int code);
    void feedDemo();
    // The quick start: whether `input` skipped the opening or belongs to the key that did.
    bool skipped(const Routed& input);
    void screenshot();
    void present();

    // The shell around the game (SdlAppShell.cpp): pause, menu, volume, scaling.
    void pause(PauseReason reason);
    void resume(PauseReason reason);
    bool menuInput(const Routed& routed);
    // Whether the pointer moved from its last place (its new place noted).
    bool pointerMoved(const SDL_MouseMotionEvent& motion);
    bool menuPointer(const SDL_Event& event, bool moved);
    void menuAction(MenuAction action);
    void step(Setting setting, int direction);
    void setVolume(int volume);
    void setMuted(bool muted);
    const Image& shown();
    static void SetWindowIcon(SDL_Window* window);

    SdlSubsystem video_;
    SdlSubsystem controllers_;  // may fail: the game is then played without them
    Screen screen_;
    SdlSound sound_;
    HushableSound hushable_{sound_};  // the game's sound: hushed while the opening is skipped
    TtfText text_;
    RealClock clock_;  // started just before the game, so start-up happens at time 0
    Game game_;
    InputRouter router_;
    Settings settings_;  // the window's and the sound's choices in this run
    Settings saved_;     // what the settings file is to hold
    std::string settingsPath_;
    bool saveFailed_ = false;
    std::vector<Routed> routed_;  // scratch for one event's inputs
    TickObserver tickObserver_;
    InputObserver inputObserver_;
    DemoLink* demo_ = nullptr;
    RecordKeeper* keeper_ = nullptr;
    bool opening_ = true;      // until the ball is in the title room: a key may skip it
    std::set<int> swallowed_;  // game keys whose press skipped the opening, till their release
    PauseGate gate_;
    Menu menu_;
    Overlay overlay_;
    bool overlayChanged_ = false;  // the menu or the pause sign is to be drawn again (or removed)
    bool muted_ = false;           // by --mute or M
    // The pointer's last place in the window; the menu follows it only when it moves from
    // there. A change of the window's size moves it without the player (SDL then tells of a
    // motion), so the next motion after one only sets it.
    std::optional<std::pair<int, int>> pointer_;
    bool pointerRebase_ = false;
    Lines keyLines_, recordLines_;
};

}  // namespace hopla
