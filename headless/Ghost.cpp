// Replaying the best game beside the game, one handler at a time.
#include "headless/Ghost.h"

#include <algorithm>
#include <cmath>

namespace hopla {
namespace {

constexpr int kTitleRoom = 21;  // StageNo of the title room and the ending

}  // namespace

Ghost::Ghost(Demo best, const std::string& exeDir, RecordingSound::WaveLength waveLength,
             const StageFile* stages)
    : demo_(std::move(best)), sim_(demo_.seed, exeDir, std::move(waveLength)) {
    if (stages) sim_.game().applyStages(*stages);
    start_ = sim_.save();
    player_ = std::make_unique<Player>(sim_.game(), sim_.clock(), demo_);
}

void Ghost::restart() {
    player_.reset();
    sim_.restore(start_);
    player_ = std::make_unique<Player>(sim_.game(), sim_.clock(), demo_);
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

std::optional<GhostPoint> Ghost::at(int stage, int ticks) {
    if (stage < 0 || stage >= kTitleRoom) return std::nullopt;
    // A new game, or the same stage again from its start: the best game from its start too.
    if (stage < stage_ || (stage == stage_ && ticks < ticks_)) restart();
    ticks_ = ticks;
    while (true) {
        const int now = sim_.game().stage();
        if (now != kTitleRoom) begun_ = true;
        if (now == stage) {
            const GameState& s = sim_.state();
            stage_ = stage;
            last_ = {static_cast<int>(std::lround(s.TrailX[0])),
                     static_cast<int>(std::lround(s.TrailY[0]))};
            if (sim_.game().tally().stageTicks[static_cast<std::size_t>(stage)] >= ticks)
                return last_;
        } else if (begun_ && (now > stage || now == kTitleRoom)) {
            // Past the stage, or the game is over.
            return stage_ == stage ? std::optional(last_) : std::nullopt;
        }
        if (!step()) return stage_ == stage ? std::optional(last_) : std::nullopt;
    }
}

}  // namespace hopla
