// Running the game's timers on the virtual clock.
#include "tools/sim/SimCore.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "stage/Progression.h"

namespace hopla {

SimCore::SimCore(std::uint32_t seed, const std::string& exeDir)
    : game_(std::make_unique<Game>(clock_, sound_, &text_, seed, exeDir)) {}

double SimCore::ToMs(Duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double SimCore::nowMs() const {
    return ToMs(clock_.now());
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

void SimCore::startStage(int n) {
    constexpr int kTitleStage = 21;
    if (n < 0 || n > kTitleStage) throw std::out_of_range("no stage " + std::to_string(n));
    // NextStage turns the title stage into stage 0 and any other stage s into s + 1.
    state().StageNo = n == 0 ? kTitleStage : n - 1;
    Form1& f = form();
    for (Timer* timer :
         {&f.Timer1, &f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5, &f.Timer6, &f.Etimer}) {
        timer->setInterval(0);
    }
    NextStage(f, state());
    f.Display.repaintLabels();
}

}  // namespace hopla
