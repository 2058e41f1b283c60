// The solver's play: searching each stage as the game reaches it, the beam doubling after a
// failed try, and the figures it prints.
#include "solve/Strategy.h"
#include "shell/GameFiles.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <vector>

#include "app/Keys.h"
#include "demo/Recorder.h"
#include "form/GameState.h"
#include "headless/SimCore.h"
#include "platform/Platform.h"
#include "solve/Prove.h"
#include "solve/SolvedDemo.h"
#include "solve/TickBound.h"

namespace hopla {
namespace {

constexpr int kFinalScreenPauseMs = 3000;  // the closing click comes this long after the score

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs timers (no input) until the ball is in play, the game ends or nothing runs.
bool RunUntilPlay(SimCore& sim) {
    Game& game = sim.game();
    while (!game.ended() && !sim.form().Timer1.running())
        if (!sim.runNextTimer()) return false;
    return !game.ended();
}

// Releases the key still held from the last stage and runs `ticks` ticks of play with no
// input: the ball left alone where the stage started it. The key-up joins `inputs`. When that
// would lose the ball or end play in the stage, restores the game and says false.
bool Linger(SimCore& sim, int ticks, std::vector<DemoInput>& inputs) {
    const SimCore::Snapshot before = sim.save();
    const GameState& s = sim.state();
    const int stage = s.StageNo, balls = s.BallsLeft;
    Game& game = sim.game();
    std::optional<DemoInput> release;
    if (s.HeldKey != 0) {
        release = DemoInput{game.handlersRun(), 0, InputKind::KeyUp, s.HeldKey};
        Deliver(game, release->kind, release->code);
    }
    bool inPlay = true;
    for (int t = 0; t < ticks && inPlay; ++t) {
        inPlay = sim.runNextTimer() && !game.ended() && s.StageNo == stage &&
                 s.BallsLeft == balls && sim.form().Timer1.running();
    }
    if (inPlay) {
        if (release) inputs.push_back(*release);
        return true;
    }
    sim.restore(before);
    return false;
}

std::string StageLine(const StageResult& r, double seconds) {
    char line[200];
    if (r.solved) {
        std::snprintf(line, sizeof line,
                      "stage %2d: %4d ticks (%3d points)  %6.2f s  %8llu steps  best: beam %d, %d "
                      "per cell%s  bound %d",
                      r.stage, r.ticks, r.ticks / 10, seconds,
                      static_cast<unsigned long long>(r.tried), r.setting.beam, r.setting.perCell,
                      r.setting.cellShift ? " (cells shifted)" : "", r.bound);
    } else {
        std::snprintf(
            line, sizeof line,
            "stage %2d: not cleared within its search (beam %d)  %6.2f s  %8llu steps: %s", r.stage,
            r.setting.beam, seconds, static_cast<unsigned long long>(r.tried), r.blocked.c_str());
    }
    return line;
}

}  // namespace

int SolveOneStage(int stage, const SolveSettings& settings, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    SimCore sim(settings.seed, ExecutableDir(), WaveFileLength);
    sim.startStage(stage);
    if (!RunUntilPlay(sim)) {
        std::cout << "stage " << stage << ": the stage never started\n";
        return 1;
    }
    const StageResult r = SolveBest(sim, settings.beam);
    const double seconds = SecondsSince(start);
    std::cout << StageLine(r, seconds) << '\n' << std::flush;
    if (!r.solved) return 1;
    return WriteDemo(path, RecordDemo(settings.seed, stage, r.inputs, false)) ? 0 : 2;
}

int ProveOneStage(int stage, const SolveSettings& settings, const ProveLimits& limits,
                  const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    SimCore sim(settings.seed, ExecutableDir(), WaveFileLength);
    sim.startStage(stage);
    if (!RunUntilPlay(sim)) {
        std::cout << "stage " << stage << ": the stage never started\n";
        return 1;
    }
    std::printf("stage %2d: proving within %.0f s and %zu MB (states remembered)\n", stage,
                limits.seconds, limits.memoryMb);
    std::fflush(stdout);
    StageResult best = SolveBest(sim, settings.beam);
    std::printf("stage %2d: the beam's best %d ticks (%.2f s)\n", stage, best.ticks,
                SecondsSince(start));
    std::fflush(stdout);
    ProveOptions options;
    options.seconds = limits.seconds;
    options.memoryMb = limits.memoryMb;
    options.best = best.solved ? best.ticks : 0;
    options.progress = &std::cout;
    const ProveResult p = ProveStage(sim, options);
    if (p.found.solved && (!best.solved || p.found.ticks < best.ticks)) best = p.found;
    std::string verdict;
    if (!best.solved)
        verdict = "not cleared";
    else if (best.ticks <= p.bound)
        verdict = "proven optimal: the bound is met";
    else if (p.optimal)
        verdict = "proven optimal for the solver's moves";
    else
        verdict = "gap " + std::to_string(best.ticks - p.searched) + " (" + p.stopped + ")";
    std::printf(
        "stage %2d: best %d ticks, bound %d, none quicker below %d with the solver's "
        "moves: %s  %.2f s  %llu steps  %zu states  %.1f MB\n",
        stage, best.solved ? best.ticks : 0, p.bound, p.searched, verdict.c_str(),
        SecondsSince(start), static_cast<unsigned long long>(p.steps), p.peakStates,
        static_cast<double>(p.peakBytes) / (1 << 20));
    std::fflush(stdout);
    if (!best.solved) return 1;
    // The bound of every state along the route against the ticks the route still took there.
    SimCore along(settings.seed, ExecutableDir(), WaveFileLength);
    along.startStage(stage);
    RunUntilPlay(along);
    const TickBound bound(along.state(), along.form(), best.ticks - along.state().StageTime[stage]);
    const int slack = LeastSlack(along, best.inputs, bound);
    std::printf(
        "stage %2d: along the route every state's bound is at least %d under the ticks "
        "still to come%s\n",
        stage, slack, slack < 0 ? ": THE BOUND OVERESTIMATES" : "");
    if (slack < 0) return 1;
    return WriteDemo(path, RecordDemo(settings.seed, stage, best.inputs, false)) ? 0 : 2;
}

int SolveGame(const SolveSettings& settings, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    SimCore sim(settings.seed, ExecutableDir(), WaveFileLength);
    std::vector<DemoInput> inputs;
    int status = 0;
    while (!sim.game().ended() && sim.form().Etimer.interval() == 0) {
        const int stage = sim.game().stage();
        if (!RunUntilPlay(sim)) break;
        if (settings.linger > 0 && stage != kTitleStage && !Linger(sim, settings.linger, inputs))
            std::printf("stage %2d: the ball cannot be left alone here; no lingering\n", stage);
        const auto stageStart = std::chrono::steady_clock::now();
        StageResult r = SolveBest(sim, settings.beam);
        const double seconds = SecondsSince(stageStart);
        if (stage == kTitleStage) {
            std::printf("title room: %s\n",
                        r.solved ? "left through the start" : r.blocked.c_str());
        } else {
            std::cout << StageLine(r, seconds) << '\n' << std::flush;
        }
        if (!r.solved) {
            status = 1;
            break;
        }
        inputs.insert(inputs.end(), r.inputs.begin(), r.inputs.end());
        PlayInputs(sim, r.inputs);
    }
    if (status == 0) {
        // The ending runs by itself up to the final screen; then the closing click.
        while (sim.runNextTimer()) {
        }
        const auto clickMs = static_cast<std::int64_t>(sim.nowMs()) + kFinalScreenPauseMs;
        inputs.push_back({sim.game().handlersRun(), clickMs, InputKind::Mouse, kMouseLeft});
        const GameState& s = sim.state();
        int lost = kBallsPerGame - s.BallsLeft;
        std::printf("game: score %d, code %s, %d balls lost, %.2f s\n", s.Score,
                    s.ScoreCode.c_str(), lost, SecondsSince(start));
    }
    if (status != 0) return status;
    return WriteDemo(path, RecordDemo(settings.seed, std::nullopt, inputs, true)) ? 0 : 2;
}

}  // namespace hopla
