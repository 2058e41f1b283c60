// A whole scripted game on the virtual clock: how much faster than real time the game runs.
#include <stdexcept>
#include <string>

#include "BenchGame.h"
#include "sequences/EndingSteps.h"
#include "shell/GameFiles.h"
#include "stage/StageData.h"

namespace hopla::bench {
namespace {

// Runs until `done` holds, in steps of 10 ms; a script that never gets there is a fault.
template <typename Done>
void RunUntilDone(SimCore& sim, double limitMs, Done done, const char* what) {
    const double until = sim.nowMs() + limitMs;
    while (!done()) {
        if (sim.nowMs() >= until || sim.game().ended())
            throw std::runtime_error(std::string("the scripted game went astray: ") + what);
        sim.runFor(10);
    }
}

// The stage's introduction and loading, up to the moment the ball is in play.
void EnterStage(SimCore& sim, int stage) {
    sim.startStage(stage);
    RunUntilDone(
        sim, 5000, [&] { return sim.form().Timer1.running(); }, "stage set-up");
}

// Steers for `ms`: Right held for a quarter of a second, a pause, twice, then Left.
void Steer(SimCore& sim, double ms) {
    const double until = sim.nowMs() + ms;
    for (int k = 0; sim.nowMs() < until && !sim.game().ended(); ++k) {
        const int key = k % 3 == 2 ? kVkLeft : kVkRight;
        sim.keyDown(key);
        sim.runFor(250);
        sim.keyUp(key);
        sim.runFor(350);
    }
}

// Start-up, the title and the ball on the title stage, a new game through four stages with
// steering, the last ball lost and the game over banner back to the title stage, then the
// ending up to its final screen and the closing click.
double PlayScriptedGame(int& handlers) {
    SimCore sim(11, HOPLA_BUILD_DIR, WaveFileLength);
    const ObserverHandle counting = sim.game().observe([&](std::string_view) { ++handlers; });
    RunUntilDone(
        sim, 15000, [&] { return sim.form().Timer1.running(); }, "title");
    sim.runFor(2000);
    for (int stage : {0, 4, 9, 14}) {
        EnterStage(sim, stage);
        Steer(sim, 4000);
    }
    GameState& s = sim.state();
    RunUntilDone(
        sim, 5000, [&] { return sim.form().Timer1.running(); }, "play");
    s.BallsLeft = 1;
    // The ball sinks out through the floor on the next tick.
    for (int i = 0; i < 4; ++i) s.TrailY[i] = kH;
    s.SpeedX = 0;
    s.SpeedY = 0;
    RunUntilDone(
        sim, 1000, [&] { return s.BallState == kBallGameOver; }, "last ball");
    RunUntilDone(
        sim, 15000, [&] { return s.StageNo == kTitleStage && sim.form().Timer1.running(); },
        "game over");
    sim.runFor(2000);
    sim.startStage(21);
    RunUntilDone(
        sim, 120000, [&] { return s.EndPhase == kEndOver; }, "ending");
    sim.mouseDown(kMouseLeft);
    if (!sim.game().ended()) throw std::runtime_error("the closing click did not end the game");
    return sim.nowMs();
}

void BM_ScriptedGame(benchmark::State& state) {
    double virtualMs = 0;
    int handlers = 0;
    for (auto _ : state) {
        try {
            virtualMs += PlayScriptedGame(handlers);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
    }
    state.counters["virtual_ms"] =
        benchmark::Counter(virtualMs, benchmark::Counter::kAvgIterations);
    state.counters["handlers"] = benchmark::Counter(handlers, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ScriptedGame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace hopla::bench
