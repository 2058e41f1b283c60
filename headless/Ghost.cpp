// Replaying a best run beside the game, one handler at a time.
#include "headless/Ghost.h"

#include <algorithm>
#include <cmath>

namespace hopla {
namespace {

constexpr int kTitleRoom = 21;  // StageNo of the title room and the ending

// The point where the demo's last game begins: its last check in a stage of play right after
// one in the title room (a check is written at every change of stage), or its start.
std::uint64_t LastGame(const Demo& demo) {
    for (std::size_t i = demo.checks.size(); i-- > 1;)
        if (demo.checks[i].state.stage < kTitleRoom && demo.checks[i - 1].state.stage == kTitleRoom)
            return demo.checks[i].point;
    return 0;
}

}  // namespace

Ghost::Ghost(std::shared_ptr<const Demo> run, const std::string& exeDir,
             RecordingSound::WaveLength waveLength, const StageFile* stages)
    : demo_(std::move(run)),
      lastGame_(LastGame(*demo_)),
      sim_(demo_->seed, exeDir, std::move(waveLength)) {
    if (stages) sim_.game().applyStages(*stages);
    start_ = sim_.save();
    player_ = std::make_unique<Player>(sim_.game(), sim_.clock(), *demo_);
}

void Ghost::restart() {
    player_.reset();
    sim_.restore(start_);
    player_ = std::make_unique<Player>(sim_.game(), sim_.clock(), *demo_);
    begun_ = false;
    stage_ = -1;
    ticks_ = 0;
}

bool Ghost::step() {
    if (player_->mismatch() || player_->finished()) return false;
    Game& game = sim_.game();
    const std::optional<Game::DueTimer> next = game.nextDue();
    if (player_->inputDue()) {
        Duration to = milliseconds(player_->next()->ms);
        if (next) to = std::min(to, next->due);
        sim_.clock().advanceTo(to);
        player_->deliverNext();
        return !player_->mismatch();
    }
    if (!next) return false;
    sim_.clock().advanceTo(next->due);
    game.runDueTimer();
    return true;
}

std::optional<GhostPoint> Ghost::at(int stage, int ticks, std::size_t budget) {
    behind_ = false;
    if (stage < 0 || stage >= kTitleRoom) return std::nullopt;
    // A new game, or the same stage again from its start: the run from its start too.
    if (restarts(stage, ticks)) restart();
    ticks_ = ticks;
    const auto left = [&] { return stage_ == stage ? std::optional(last_) : std::nullopt; };
    for (std::size_t steps = 0;; ++steps) {
        const int now = sim_.game().stage();
        // The games before the last one are passed over.
        const bool last = sim_.game().handlersRun() >= lastGame_;
        if (last && now != kTitleRoom) begun_ = true;
        if (last && now == stage) {
            const GameState& s = sim_.state();
            stage_ = stage;
            last_ = {static_cast<int>(std::lround(s.TrailX[0])),
                     static_cast<int>(std::lround(s.TrailY[0]))};
            if (sim_.game().tally().stageTicks[static_cast<std::size_t>(stage)] >= ticks)
                return last_;
        } else if (begun_ && (now > stage || now == kTitleRoom)) {
            return left();  // past the stage, or the game is over
        }
        if (steps == budget) {
            behind_ = true;
            return left();
        }
        if (!step()) return left();
    }
}

}  // namespace hopla
