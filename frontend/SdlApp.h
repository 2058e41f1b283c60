// The running game in the window: hopla::Game with its shell (the quick start, pause, the menu,
// demos and records), run by the window's runner.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "demo/Demo.h"
#include "frontend/WindowRunner.h"
#include "headless/GhostRuns.h"
#include "shell/Menu.h"
#include "shell/Overlay.h"
#include "shell/PauseGate.h"
#include "shell/QuickStart.h"
#include "shell/Race.h"
#include "shell/RealClock.h"
#include "shell/WindowClient.h"

namespace hopla {

class DemoLink;
class RecordKeeper;

// Construction runs the game's start-up and opens the window; run() returns when the game has
// ended or the window was asked to close. Destruction closes the window and the audio device.
class SdlApp final : public WindowClient {
  public:
    // Throws std::runtime_error when there is no display to open the window on.
    SdlApp(std::uint32_t seed, const std::string& exeDir, const AppOptions& options = {});
    SdlApp(const SdlApp&) = delete;
    SdlApp& operator=(const SdlApp&) = delete;

    void run() { runner_.run(); }
    // One round of run()'s loop without its wait: the pending input, the due timers one at a
    // time, the changed picture to the window. Returns when the next round is due on the game's
    // clock (a timer, a controller poll or repeat, a demo's input, the end of a held sound);
    // none when only input can wake it, or once the game has ended. The browser's loop
    // (apps/hopla/WebMain.cpp) calls it from a timeout.
    std::optional<Duration> step() { return runner_.step(); }
    bool ended() const override { return game_.ended(); }

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
    void setDemo(DemoLink* demo);
    // The player's records: told of every input of the player and, after every timer handler,
    // asked to look for the final screen. Set before run(); it must outlive run().
    // It hears whether the game runs slowed, now and at every change.
    void setRecordKeeper(RecordKeeper* keeper);

    // The race against `best` (the player's best finished game; none before the first): its
    // overlay drawn while the setting is on, and each split handed to `splits` (--splits-out)
    // when given. Set before run().
    using SplitSink = std::function<void(const Split& split)>;
    void setRace(std::optional<GameRecord> best, SplitSink splits = {});

    // The ghost: a best run replayed beside this one (the best game's, or each stage's best run,
    // by the setting), its ball drawn while the setting is on. None: no run to show. Set before
    // run().
    void setGhost(std::unique_ptr<GhostRuns> ghost);

    // What the menu's keys and records pages list, asked each time the page is drawn; without
    // one, the keys page lists the keys the game reads and the records page says there are
    // none yet.
    using Lines = std::function<std::vector<std::string>()>;
    void setKeyLines(Lines lines) { keyLines_ = std::move(lines); }
    void setRecordLines(Lines lines) { recordLines_ = std::move(lines); }
    // The page shows touch controls and they were used last (WindowRunner::setTouchScreen).
    void setTouchScreen(bool touch) {
        runner_.setTouchScreen(touch);
        valuesChanged();
    }
    // The menu and the window, for probes and tests.
    const Menu& menu() const { return menu_; }
    Screen& screen() { return runner_.screen(); }

    // WindowClient; paused(): by P, the menu, or the window being away.
    int width() const override { return Game::kWidth; }
    int height() const override { return Game::kHeight; }
    RealClock& clock() override { return clock_; }
    bool paused() const override { return gate_.paused(); }
    void input(const Routed& input) override;
    bool pointer(const PointerInput& pointer) override;
    void text(std::string_view) override {}
    void close() override { toGame(InputKind::Close, 0); }
    void away(bool away) override;
    void valuesChanged() override;
    void feed() override;
    bool runDueTimer() override;
    std::optional<Duration> nextWake() const override;
    Frame frame() override;
    const Image& shown() override;
    const Image& screenshot() override { return game_.picture(); }

  private:
    void command(Command command);
    // The player's input: to the game, or through the demo being recorded or played.
    void toGame(InputKind kind, int code);
    // The quick start: whether `input` skipped the opening or belongs to the key that did.
    bool skipped(const Routed& input);

    // The shell around the game (SdlAppShell.cpp): pause and the menu.
    void pause(PauseReason reason);
    void resume(PauseReason reason);
    bool menuInput(const Routed& routed);
    void menuAction(MenuAction action);
    // The game's clock at the speed of the run's settings; the records told.
    void applySpeed();
    // Tab: the race overlay on or off, remembered.
    void toggleRace();
    // After every handler: the race's numbers and splits.
    void raceUpdate();
    // The game's changed part with the race overlay and the ghost on it, in raced_.
    Frame racedFrame();
    // Where the ghost is at the game's stage and tick; none while it is not shown, or while its
    // replay is still on its way there: it goes on in slices that end before the game's next
    // tick is due, and the loop comes back for more at once (nextWake).
    std::optional<GhostPoint> ghostNow();
    // The real time until the game's next tick is due.
    Duration ghostRoom() const;
    // The ghost drawn into raced_; the area it took.
    Rect drawGhost(const std::optional<GhostPoint>& at);

    WindowRunner runner_;
    HushableSound hushable_{
        runner_.sound()};  // the game's sound: hushed while the opening is skipped
    RealClock clock_;      // started just before the game, so start-up happens at time 0
    Game game_;
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
    Lines keyLines_, recordLines_;
    Race race_{std::nullopt};
    SplitSink splits_;
    bool raceOn_ = false;                 // the race overlay shows
    Image raced_;                         // the game's picture with the race overlay on it
    Rect racedLast_;                      // where the overlay was drawn last
    std::vector<std::string> raceLines_;  // the lines drawn there
    std::unique_ptr<GhostRuns> ghost_;
    bool ghostOn_ = false;
    bool ghostStages_ = false;  // each stage's best run, not the best game's
    // Since when the ghost's replay has waited to be made ready.
    std::optional<std::chrono::steady_clock::time_point> ghostWaitSince_;
    Rect ghostLast_;  // where the ghost was drawn last
};

}  // namespace hopla
