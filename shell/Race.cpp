// The race's numbers and splits.
#include "shell/Race.h"

#include <cstdlib>
#include <numeric>

namespace hopla {
namespace {

// The score of stages 0..stage as the stage introductions sum it: a tenth of each one's ticks.
int TimeScore(const std::array<int, kRecordStages>& ticks, int stage) {
    int score = 0;
    for (int s = 0; s <= stage; ++s) score += ticks[static_cast<std::size_t>(s)] / 10;
    return score;
}

int TotalTicks(const std::array<int, kRecordStages>& ticks, int stage) {
    int total = 0;
    for (int s = 0; s <= stage; ++s) total += ticks[static_cast<std::size_t>(s)];
    return total;
}

// "24 ticks ahead", "3 behind", "even".
std::string Versus(int behind, const char* unit) {
    if (behind == 0) return std::string("even");
    return std::to_string(std::abs(behind)) + unit + (behind < 0 ? " ahead" : " behind");
}

}  // namespace

std::string SplitLine(const Split& split) {
    const auto number = [](const std::optional<int>& n) {
        return n ? std::to_string(*n) : std::string("-");
    };
    return "split stage=" + std::to_string(split.stage) + " ticks=" + std::to_string(split.ticks) +
           " total=" + std::to_string(split.totalTicks) + " score=" + std::to_string(split.score) +
           " behind_ticks=" + number(split.ticksBehind) +
           " behind_score=" + number(split.scoreBehind);
}

std::optional<Split> Race::update(int stage, const Game::Tally& tally) {
    const int before = stage_;
    stage_ = stage;
    tally_ = tally;
    if (before == kRecordStages && stage == 0) last_.reset();  // a new game
    if (before < 0 || before >= kRecordStages || stage != before + 1) return std::nullopt;
    Split split;
    split.stage = before;
    split.ticks = tally.stageTicks[static_cast<std::size_t>(before)];
    split.totalTicks = TotalTicks(tally.stageTicks, before);
    split.score = TimeScore(tally.stageTicks, before) + 30 * tally.ballsLost;
    if (best_) {
        split.ticksBehind = split.totalTicks - TotalTicks(best_->ticks, before);
        // The best game's balls lost up to this stage; a record that kept only their sum counts
        // them at its last stage.
        int bestLost = before == kRecordStages - 1 ? best_->ballsLost : 0;
        if (best_->lostIn) {
            const auto& lost = *best_->lostIn;
            bestLost = std::accumulate(lost.begin(), lost.begin() + before + 1, 0);
        }
        split.scoreBehind = split.score - (TimeScore(best_->ticks, before) + 30 * bestLost);
    }
    last_ = split;
    return split;
}

std::vector<std::string> Race::lines() const {
    std::vector<std::string> lines;
    if (stage_ >= 0 && stage_ < kRecordStages) {
        const auto at = static_cast<std::size_t>(stage_);
        lines.push_back("Stage " + std::to_string(stage_) + "   Balls " +
                        std::to_string(tally_.ballsLeft));
        lines.push_back(
            "Ticks " + std::to_string(tally_.stageTicks[at]) + "   Score " +
            std::to_string(TimeScore(tally_.stageTicks, stage_) + 30 * tally_.ballsLost));
    }
    if (!last_ && lines.empty())
        lines.push_back(best_ ? "Best game: score " + std::to_string(best_->score)
                              : std::string("No best game yet"));
    if (last_) {
        std::string split = "Stage " + std::to_string(last_->stage) + ": ";
        if (last_->ticksBehind)
            split += Versus(*last_->ticksBehind, " ticks") + ", score " +
                     Versus(*last_->scoreBehind, "");
        else
            split += std::to_string(last_->ticks) + " ticks, no best yet";
        lines.push_back(split);
    }
    return lines;
}

}  // namespace hopla
