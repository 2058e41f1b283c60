// Iterative deepening over the real game's ticks with the tick bound as its cut, and a table of
// the states each round has met at their fewest ticks.
#include "solve/Prove.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "demo/Recorder.h"
#include "solve/ContactBound.h"
#include "solve/Moves.h"
#include "solve/TickBound.h"

namespace hopla {
namespace {

using Clock = std::chrono::steady_clock;
// What one remembered state costs the table: its key, its ticks, the node and its bucket.
constexpr std::size_t kBytesPerState = 48;

// How far from the start the contact bound is worked out for every state: to the route to beat
// (a state of a round is never further; its bytes hold up to 254 ticks). With no route known
// it is not: the stride's bound alone cuts.
int Horizon(const ProveOptions& options, int startTime) {
    constexpr int kFurthest = 254;
    return options.best > 0 ? std::clamp(options.best - startTime, 1, kFurthest) : 0;
}

class Prover {
  public:
    Prover(SimCore& sim, const ProveOptions& options)
        : sim_(sim),
          options_(options),
          stage_(sim.state().StageNo),
          balls_(sim.state().BallsLeft),
          startTime_(sim.state().StageTime[stage_]),
          bound_(sim.state(), sim.form(), Horizon(options, startTime_)),
          built_(std::chrono::duration<double>(Clock::now() - made_).count()),
          begun_(Clock::now()),
          lastReport_(begun_) {}

    ProveResult run() {
        ProveResult r;
        r.bound = startTime_ + bound_.atStart();
        r.searched = r.bound;
        char made[120];
        std::snprintf(made, sizeof made,
                      "bound %d; every state's worked out: %zu bins, %d sweeps, %.1f s", r.bound,
                      bound_.contact().met(), bound_.contact().sweeps(), built_);
        report(made);
        const SimCore::Snapshot start = sim_.save();
        const Phase phase = Classify(sim_, stage_, balls_);
        const int last = options_.best > 0 ? options_.best - startTime_ - 1 : 1500;
        for (int round = bound_.atStart(); phase == Phase::Play && round <= last; ++round) {
            round_ = round;
            seen_.clear();
            const bool found = search(0, phase);
            sim_.restore(start);
            if (found) {
                r.found = route(round);
                r.searched = startTime_ + round;
                r.optimal = true;
                break;
            }
            if (!stopped_.empty()) break;
            r.searched = startTime_ + round + 1;
            report("round " + std::to_string(startTime_ + round) + " done: none quicker");
        }
        if (options_.best > 0 && r.searched >= options_.best) r.optimal = true;
        r.steps = steps_;
        r.peakStates = peak_;
        r.peakBytes = peak_ * kBytesPerState;
        r.seconds = elapsed();
        r.stopped = stopped_;
        return r;
    }

  private:
    double elapsed() const { return std::chrono::duration<double>(Clock::now() - begun_).count(); }

    void report(const std::string& what) {
        if (!options_.progress) return;
        char line[160];
        std::snprintf(line, sizeof line, "  %6.1f s  %s  (%llu steps, %zu states)\n", elapsed(),
                      what.c_str(), static_cast<unsigned long long>(steps_), seen_.size());
        *options_.progress << line << std::flush;
        lastReport_ = Clock::now();
    }

    // Whether to stop now; checked every 256 steps.
    bool stop() {
        if (!stopped_.empty()) return true;
        if (steps_ % 256) return false;
        if (elapsed() > options_.seconds) stopped_ = "time limit";
        if (seen_.size() * kBytesPerState > options_.memoryMb << 20) stopped_ = "memory limit";
        if (std::chrono::duration<double>(Clock::now() - lastReport_).count() >
            options_.progressSeconds)
            report("round " + std::to_string(startTime_ + round_) + " searching");
        return !stopped_.empty();
    }

    // The game's check with the stage's time left out, and when each running timer is due next
    // after the first of them: two states alike in these go on alike.
    std::uint64_t key() {
        std::int16_t& time = sim_.state().StageTime[stage_];
        const std::int16_t kept = time;
        time = 0;
        const StateCheck c = sim_.game().check();
        time = kept;
        std::uint64_t h = 0;
        auto mix = [&h](std::uint64_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
        for (std::uint64_t v :
             {std::uint64_t(c.stage), std::uint64_t(c.balls), std::uint64_t(c.score), c.record,
              c.labels, c.display, c.back, c.dark, c.chip, c.endChip})
            mix(v);
        for (int t : c.timers) mix(static_cast<std::uint64_t>(t));
        const Form1& form = sim_.form();
        Duration first = Duration::max();
        for (Timer Form1::*t : Form1::kTimers)
            if ((form.*t).running()) first = std::min(first, (form.*t).due());
        for (Timer Form1::*t : Form1::kTimers)
            if ((form.*t).running())
                mix(static_cast<std::uint64_t>(((form.*t).due() - first).count()));
        return h;
    }

    int bound(Phase phase) const {
        const GameState& s = sim_.state();
        return phase == Phase::Play ? bound_.inPlay(s)
                                    : bound_.fromLauncher(s.LauncherX, s.LauncherY);
    }

    // From the state the game is in, `ticks` into the round: whether a way out within the
    // round's ticks follows (left on path_). Moves the game on.
    bool search(int ticks, Phase phase) {
        const std::vector<Action> moves = Moves(phase, sim_.state());
        const SimCore::Snapshot here = moves.size() > 1 ? sim_.save() : SimCore::Snapshot{};
        bool fresh = true;
        for (const Action& move : moves) {
            if (stop()) return false;
            if (!fresh) sim_.restore(here);
            fresh = false;
            const std::uint64_t point = sim_.game().handlersRun();
            bool ticked = false;
            Apply(sim_, move, ticked);
            ++steps_;
            const int after = ticks + (ticked ? 1 : 0);
            const Phase next = Classify(sim_, stage_, balls_);
            if (next == Phase::Lost || after > round_) continue;
            if (next == Phase::Exit) {
                path_.push_back({point, move});
                return true;
            }
            if (after + bound(next) > round_) continue;
            const auto [it, added] = seen_.try_emplace(key(), after);
            if (!added) {
                if (it->second <= after) continue;
                it->second = after;
            }
            peak_ = std::max(peak_, seen_.size());
            path_.push_back({point, move});
            if (search(after, next)) return true;
            path_.pop_back();
        }
        return false;
    }

    StageResult route(int round) const {
        StageResult r;
        r.stage = stage_;
        r.solved = true;
        r.ticks = startTime_ + round;
        for (const auto& [point, action] : path_)
            for (int i = 0; i < action.count; ++i)
                r.inputs.push_back({point + static_cast<std::uint64_t>(i), 0,
                                    action.inputs[i].first, action.inputs[i].second});
        r.tried = steps_;
        return r;
    }

    SimCore& sim_;
    ProveOptions options_;
    int stage_, balls_, startTime_;
    Clock::time_point made_ = Clock::now();
    TickBound bound_;
    double built_;
    Clock::time_point begun_, lastReport_;
    int round_ = 0;
    std::unordered_map<std::uint64_t, int> seen_;
    std::vector<std::pair<std::uint64_t, Action>> path_;
    std::uint64_t steps_ = 0;
    std::size_t peak_ = 0;
    std::string stopped_;
};

}  // namespace

ProveResult ProveStage(SimCore& sim, const ProveOptions& options) {
    return Prover(sim, options).run();
}

int LeastSlack(SimCore& sim, const std::vector<DemoInput>& inputs, const TickBound& bound) {
    Game& game = sim.game();
    const int stage = game.stage();
    std::vector<std::pair<int, int>> seen;  // the stage's time and the bound, each tick in play
    std::size_t i = 0;
    while (!game.ended() && game.stage() == stage) {
        for (; i < inputs.size() && inputs[i].point == game.handlersRun(); ++i)
            Deliver(game, inputs[i].kind, inputs[i].code);
        const int before = sim.state().StageTime[stage];
        if (!sim.runNextTimer()) break;
        const GameState& s = sim.state();
        if (s.StageNo == stage && s.StageTime[stage] != before && sim.form().Timer1.running())
            seen.push_back({s.StageTime[stage], bound.inPlay(s)});
    }
    const int end = sim.state().StageTime[stage];
    int least = 1 << 20;
    for (const auto& [time, figure] : seen) least = std::min(least, end - time - figure);
    return least;
}

}  // namespace hopla
