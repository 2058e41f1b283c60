// Running the game's timers on the virtual clock.
#include "headless/SimCore.h"

#include <cmath>
#include <utility>

namespace hopla {

SimCore::SimCore(std::uint32_t seed, const std::string& exeDir,
                 RecordingSound::WaveLength waveLength)
    : sound_(clock_, std::move(waveLength)),
      game_(std::make_unique<Game>(clock_, sound_, &text_, seed, exeDir)),
      testing_(*game_) {}

double SimCore::ToMs(Duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double SimCore::nowMs() const {
    return ToMs(clock_.now());
}

std::optional<std::string_view> SimCore::runNextTimer() {
    const std::optional<Game::DueTimer> next = game_->nextDue();
    if (!next) return std::nullopt;
    clock_.advanceTo(next->due);
    game_->runDueTimer();
    return next->name;
}

void SimCore::runUntil(double ms) {
    const Duration until(static_cast<long long>(std::llround(ms * 1e6)));
    while (!game_->ended()) {
        const std::optional<Game::DueTimer> next = game_->nextDue();
        if (!next || next->due > until) break;
        clock_.advanceTo(next->due);
        game_->runDueTimer();
    }
    clock_.advanceTo(until);
}

}  // namespace hopla
