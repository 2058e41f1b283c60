// The seam between the game and whatever runs it: input in, timers due, the picture out.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Keys.h"
#include "app/Observers.h"
#include "app/Snapshot.h"
#include "app/StateCheck.h"
#include "toolkit/Clock.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"
#include "toolkit/Sound.h"
#include "toolkit/Text.h"

namespace hopla {

struct StageFile;
class Form1;
struct GameState;

// Owns the window's elements and the state record; runs start-up on construction. A runner
// (the SDL frontend, the headless runner) delivers pending input first, then due timers one at
// a time, then shows what changed of the picture. Every entry point runs one handler to its
// end, repaints the labels it changed, and tells the observers. Once the application has ended
// nothing runs any more. This is all a runner may use; tests and hopla-sim reach further only
// through GameTesting.
class Game {
  public:
    Game(const Clock& clock, SoundDevice& sound, const TextRenderer* text, std::uint32_t seed,
         const std::string& exeDir);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Puts a stage file's stages into the table in place of the game's own (see ApplyStages).
    // Called by a runner given --stages right after construction, before the first handler.
    void applyStages(const StageFile& file);

    // Input, as Windows virtual-key codes (0..kLastKeyCode) and mouse buttons (kMouseLeft,
    // kMouseRight, kMouseMiddle) pressed on the picture; see app/Keys.h.
    void keyDown(int keyCode);
    void keyUp(int keyCode);
    void mouseDown(int button);

    // The timer that ticks next and when, by the clock given at construction; none when every
    // timer is stopped or the game has ended.
    struct DueTimer {
        std::string_view name;  // "Timer1".."Timer6", "Etimer"
        Duration due;
    };
    std::optional<DueTimer> nextDue() const;
    // Runs the handler of the earliest timer due by the clock's now; false when none is due.
    bool runDueTimer();

    // The window's picture, labels included, kWidth x kHeight.
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    const Image& picture() const;
    // The bounding box of the picture's pixels changed since the last call.
    Rect takeChanged();

    bool ended() const;
    // The window's close request: the game ends at once, as by its own "end at once".
    void requestEnd();

    // How many handlers have run since start-up (start-up itself is not one): the point in the
    // run at which a demo delivers each input, the same whatever the wall clock did.
    std::uint64_t handlersRun() const { return handlersRun_; }
    // StageNo: 0..20 in a game, 21 the title room and the ending. Demo recorders watch it for
    // stage changes.
    int stage() const;
    // The state as a demo's check line holds it (see StateCheck).
    StateCheck check() const;

    // A finished game: what its final screen shows (the score, lower is better, and its code,
    // empty from 10000 on), the balls lost and the ball ticks spent in each of stages 0..20.
    // The frontend keeps it among the player's records.
    struct FinalScore {
        std::int32_t score = 0;
        std::string code;
        int ballsLost = 0;
        std::array<int, 21> stageTicks{};
        bool operator==(const FinalScore&) const = default;
    };
    // The finished game's score once the ending's final screen shows it; none before.
    std::optional<FinalScore> finalScore() const;
    // The game so far, between two handlers: the balls left and lost, and the ball ticks spent
    // in each of stages 0..20 since the game began. Cheap: the window's record keeper asks
    // after every tick, to keep a game that ends in "Game Over".
    struct Tally {
        int ballsLeft = 0;
        int ballsLost = 0;
        std::array<int, 21> stageTicks{};
    };
    Tally tally() const;

    // Starts stage n (0..20) where a real game would be on entering it, as if the ball had just
    // left the stage before it; n = 21 as if it had left stage 20 (the ending). Coming from the
    // title room or the ending, or from a lost game, it is a new game (9 balls, the stage times
    // cleared); during a game the balls stay. Whatever sequence was running stops. Called
    // between handlers: by demo players and recorders right after start-up, for a demo of one
    // stage, and by hopla-sim's `stage`. Throws std::out_of_range for other n.
    void startStage(int n);

    // The whole game as a value between two handlers (see GameSnapshot): the record, every
    // element of the window (pictures, labels, timers) and the handler count. The clock and the
    // sound device belong to the runner, which saves its clock beside it (SimCore). A snapshot
    // goes back only into the game that took it (std::invalid_argument otherwise, or for an
    // empty one); saving again shares the pixels of the rows nothing drew since, so a solver can
    // keep many.
    using Snapshot = GameSnapshot;
    Snapshot save() const;
    void restore(const Snapshot& snapshot);

    // Registers an observer, told after every handler with its name ("Timer1".."Timer6",
    // "Etimer", "KeyDown", "KeyUp", "MouseDown") until the returned handle goes; observers are
    // told in the order they registered. Demo recorders and players, hopla-sim's trace, the
    // soak's checks and tests observe.
    using Observer = ObserverList::Observer;
    [[nodiscard]] ObserverHandle observe(Observer observer) {
        return observers_.add(std::move(observer));
    }

  private:
    friend class GameTesting;
    template <typename Handler>
    void run(std::string_view name, Handler&& handler);

    std::unique_ptr<Form1> form_;
    std::unique_ptr<GameState> state_;
    std::uint64_t handlersRun_ = 0;
    ObserverList observers_;
};

}  // namespace hopla
