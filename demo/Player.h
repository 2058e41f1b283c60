// Playing a demo into a game: its inputs at their points, its check lines compared.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "demo/Demo.h"
#include "toolkit/Clock.h"

namespace hopla {

// Where playback and recording first part: the point, the stage the recording was in, and the
// field that differs ("point" when the run could not follow the demo at all).
struct Mismatch {
    std::uint64_t point = 0;
    int stage = 0;
    std::string field;
    std::string recorded;
    std::string played;
    // One line: "at point 1234 in stage 3: display differs (recorded 0123..., played 4567...)".
    std::string message() const;
};

// Made by a runner (hopla-sim --play, the window with --play, tests) right after start-up of a
// game made with the demo's seed, before any handler ran; it puts the game at the demo's
// starting stage and compares the start check. The runner then, before every timer tick and
// whenever it would wait, delivers the inputs due (inputDue(), deliverNext()), and stops once
// finished(). While it lives the player observes the game's handlers and compares a check
// after each that changed the stage.
// Only the first mismatch is kept; playing on after it compares nothing more.
class Player {
  public:
    // `onCheck` is told of every check compared, the start's included: what the playback
    // found, and whether it matched.
    using CheckObserver = std::function<void(const DemoCheck& played, bool matched)>;
    Player(Game& game, const Clock& clock, const Demo& demo, CheckObserver onCheck = {});
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The next input to deliver, or none when all were.
    const DemoInput* next() const;
    // Whether the next input is due now: the game is at its point.
    bool inputDue() const;
    // Delivers the next input (a runner calls it while inputDue()).
    void deliverNext();
    // Whether the run has reached the demo's end: every input delivered, the end point reached,
    // the final check compared. Compares the final check the first time it holds.
    bool finished();
    // The runner found it cannot go on (nothing runs, or the game ended) before finished():
    // records why as a mismatch at the current point.
    void stalled(std::string why);

    const std::optional<Mismatch>& mismatch() const { return mismatch_; }

  private:
    void afterHandler();
    void compare();

    Game& game_;
    const Clock& clock_;
    const Demo& demo_;
    CheckObserver onCheck_;
    std::size_t nextInput_ = 0;
    std::size_t nextCheck_ = 0;
    int stage_;
    bool finished_ = false;
    std::optional<Mismatch> mismatch_;
    ObserverHandle observation_;
};

}  // namespace hopla
