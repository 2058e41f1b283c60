// Running the game's timers on the virtual clock.
#include "tools/sim/SimCore.h"

#include <cmath>

namespace hopla {

SimCore::SimCore(std::uint32_t seed, const std::string& exeDir)
    : game_(std::make_unique<Game>(clock_, sound_, &text_, seed, exeDir)) {}

double SimCore::nowMs() const {
    return std::chrono::duration<double, std::milli>(clock_.now()).count();
}

void SimCore::runUntil(double ms) {
    const Duration until(static_cast<long long>(std::llround(ms * 1e6)));
    while (!game_->ended()) {
        const std::optional<Duration> due = game_->nextDue();
        if (!due || *due > until) break;
        clock_.advanceTo(*due);
        game_->runDueTimer();
    }
    clock_.advanceTo(until);
}

}  // namespace hopla
