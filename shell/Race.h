// The race against the best game: the run's numbers between ticks (stage, balls, the stage's
// ticks, the score so far) and, at each stage's end, its split against the best game of the
// records. No drawing (shell/Overlay.h draws the lines).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/Game.h"
#include "shell/Records.h"

namespace hopla {

// One stage's end: the run against the best game up to the end of that stage.
struct Split {
    int stage = 0;       // the stage cleared, 0..20
    int ticks = 0;       // its ball ticks
    int totalTicks = 0;  // the run's ball ticks of stages 0..stage
    int score = 0;       // the run's score so far: a tenth of each stage's ticks, 30 a lost ball
    // The run less the best game up to this stage (negative: ahead); none without a best game.
    // A best game's record from before the records kept the balls lost in each stage counts
    // them in its score at its last stage only.
    std::optional<int> ticksBehind, scoreBehind;
    bool operator==(const Split&) const = default;
};

// The split's line for an external timer (--splits-out), without its '\n':
//   split stage=3 ticks=412 total=1530 score=153 behind_ticks=-24 behind_score=-2
// (`-` for the two last without a best game).
std::string SplitLine(const Split& split);

class Race {
  public:
    using Tally = Game::Tally;

    // Against `best`, the player's best finished game; none before there is one.
    explicit Race(std::optional<GameRecord> best) : best_(std::move(best)) {}

    // After every handler, the game's stage and tally: the split when a stage has just ended
    // (the stage went from n to n + 1), else none. A new game (the title room left for stage
    // 0) starts the race again.
    std::optional<Split> update(int stage, const Game::Tally& tally);

    // The lines the overlay shows: during a game the stage, the balls left, the stage's ticks
    // and the score so far, then the last split; outside a game the last split, or before one
    // the best game's score.
    std::vector<std::string> lines() const;

  private:
    std::optional<GameRecord> best_;
    int stage_ = kRecordStages;  // the title room
    Game::Tally tally_;
    std::optional<Split> last_;
};

}  // namespace hopla
