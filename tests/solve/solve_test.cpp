// The solver's search on the real game: what it finds clears the stage when played into a
// game of its own, and a search that gives up says how far it got.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "demo/DemoFile.h"
#include "headless/DemoPlayback.h"
#include "headless/SimCore.h"
#include "shell/GameFiles.h"
#include "shell/StagePar.h"
#include "solve/Judge.h"
#include "solve/Prove.h"
#include "solve/StageSearch.h"
#include "solve/TickBound.h"

namespace hopla {
namespace {

// A game at the start of play in stage n, as the solver is given it.
void EnterPlay(SimCore& sim, int n) {
    sim.startStage(n);
    while (!sim.form().Timer1.running()) sim.runFor(10);
}

// The tick bound of stage n, from the start of play.
int BoundOf(int n) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    EnterPlay(sim, n);
    return TickBound(sim.state(), sim.form()).atStart();
}

TEST(Solver, WhatItFindsClearsTheStageInAnotherGame) {
    // From a fresh stage, and from one whose time has stopped at its limit (a slow player's):
    // the search counts its own ticks, so a time that no longer moves does not stall it.
    for (const int timeBefore : {0, 32767}) {
        SimCore searched(1, HOPLA_BUILD_DIR, WaveFileLength),
            played(1, HOPLA_BUILD_DIR, WaveFileLength);
        EnterPlay(searched, 19);
        EnterPlay(played, 19);
        searched.state().StageTime[19] = played.state().StageTime[19] =
            static_cast<std::int16_t>(timeBefore);
        const std::uint64_t start = searched.game().handlersRun();
        const StageResult r = SolveStage(searched, {});
        ASSERT_TRUE(r.solved) << timeBefore << ": " << r.blocked;
        EXPECT_EQ(searched.game().handlersRun(), start);  // the game is left as it was found
        EXPECT_GT(r.ticks, timeBefore == 0 ? 0 : 32766);
        // Every state along the route: its bound is no more than the ticks still to come.
        const TickBound bound(played.state(), played.form(), r.ticks - timeBefore, 20000);
        EXPECT_GE(LeastSlack(played, r.inputs, bound), 0) << timeBefore;
        EXPECT_EQ(played.state().StageNo, 20) << timeBefore;
        EXPECT_EQ(played.state().BallsLeft, kBallsPerGame) << timeBefore;
        EXPECT_EQ(played.state().StageTime[19], r.ticks) << timeBefore;
    }
}

TEST(Bound, NoRouteIsQuickerThanTheBound) {
    // The table's bounds (scripts/stage-par.sh, from hopla-solve's) are the code's: checked live
    // on the stages whose bound is quick to work out (the rest in a minute's search each).
    for (int n : {3, 10, 15, 19})
        EXPECT_EQ(BoundOf(n), kStageBound[static_cast<std::size_t>(n)]) << "stage " << n;
    // The corpus's routes: every stage demo and the whole game, played back.
    std::vector<std::string> names = {"game"};
    for (int n = 0; n <= 20; ++n) {
        char name[24];
        std::snprintf(name, sizeof name, "stage-%02d", n);
        names.push_back(name);
    }
    for (const std::string& name : names) {
        std::ifstream in(std::string(HOPLA_ASSET_DIR) + "/../tests/demos/" + name + ".demo");
        std::stringstream text;
        text << in.rdbuf();
        const Demo demo = ParseDemo(text.str(), name);
        SimCore sim(demo.seed, HOPLA_BUILD_DIR, WaveFileLength);
        const PlaybackResult played = PlayDemo(sim, demo);
        ASSERT_TRUE(played.finished && !played.mismatch) << name;
        for (int n = 0; n <= 20; ++n) {
            const auto i = static_cast<std::size_t>(n);
            const int ticks = sim.state().StageTime[n];
            if (ticks > 0) {
                EXPECT_LE(kStageBound[i], ticks) << name << ", stage " << n;
            }
            // The par the records page shows (scripts/stage-par.sh) is a route of its own, no
            // slower than the corpus's stage demo and no quicker than the bound.
            if (name == names[i + 1]) {
                EXPECT_LE(kStagePar[i], ticks) << name;
                EXPECT_LE(kStageBound[i], kStagePar[i]) << name;
            }
        }
    }
    for (int n = 0; n <= 20; ++n) EXPECT_GE(kStageBound[static_cast<std::size_t>(n)], 1) << n;
    // On open ground the ball lands about every ten ticks: stage 0's bound (no launcher, no low
    // ceiling) is well above the stride's 24 px a tick.
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    EnterPlay(sim, 0);
    const TickBound b(sim.state(), sim.form());
    EXPECT_EQ(b.atStart(), kStageBound[0]);
    EXPECT_GT(3 * b.atStart(), 4 * b.afterTick(sim.state().TrailX[0]));
}

TEST(Solver, BestKeepsTheQuickestOfItsSettingsAndTheFirstOfEquals) {
    // Stage 19 from its start: the first setting's way out is not the quickest, so the later
    // searches run bounded by it, and two of them tie.
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    EnterPlay(sim, 19);
    StageResult quickest;
    for (const SearchOptions& options : SearchSettings(SearchOptions{}.beam)) {
        const StageResult r = SolveStage(sim, options);
        if (r.solved && (!quickest.solved || r.ticks < quickest.ticks)) {
            quickest = r;
            quickest.setting = options;
        }
    }
    const StageResult best = SolveBest(sim, SearchOptions{}.beam);
    ASSERT_TRUE(best.solved) << best.blocked;
    EXPECT_EQ(best.ticks, quickest.ticks);
    EXPECT_EQ(best.setting.perCell, quickest.setting.perCell);
    EXPECT_EQ(best.inputs.size(), quickest.inputs.size());
}

TEST(Solver, SaysWhyItGaveUp) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    EnterPlay(sim, 0);
    SearchOptions options;
    options.maxTicks = 5;
    const StageResult r = SolveStage(sim, options);
    EXPECT_FALSE(r.solved);
    EXPECT_NE(r.blocked.find("no way out within 5 ticks"), std::string::npos) << r.blocked;
    sim.startStage(3);  // the introduction, not play
    EXPECT_EQ(SolveStage(sim, {}).blocked, "the game is not at the start of play in a stage");
}

// Stage 0 replaced by a floor between walls, open to the right above the floor, or sealed there.
StageFile MadeUp(bool sealed) {
    StageFile file{"made up", "", {StageBlock{0, 100, 460, {}}}};
    for (int r = 0; r < kStageRowCount; ++r) {
        std::string row = r == 0 || r >= 13 ? std::string(20, '1') : "1" + std::string(19, '0');
        if (sealed) row[18] = row[19] = '1';
        file.stages[0].rows[r] = row;
    }
    return file;
}

TEST(Judge, ClearsAnEasyStageAndItsDemoNeedsItsStages) {
    const StageFile file = MadeUp(false);
    const StageResult r = JudgeStage(file, 0, {});
    ASSERT_TRUE(r.solved) << r.blocked;
    const DemoStages id{"made-up", StagesHash(&file)};
    const Demo demo = ParseDemo(RecordJudgedDemo(file, id, 0, 1, r.inputs), "par.demo");
    EXPECT_EQ(demo.stages, id);
    // Marked as the solver's, never a person's.
    ASSERT_TRUE(demo.origin);
    EXPECT_EQ(demo.origin->maker, DemoMaker::Solver);
    EXPECT_EQ(demo.origin->program, "hopla-solve");
    EXPECT_FALSE(StagesRefusal(demo, id));
    const std::optional<std::string> refusal = StagesRefusal(demo, std::nullopt);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->rfind("needs the stages made-up (hash ", 0), 0u) << *refusal;
    EXPECT_TRUE(StagesRefusal(demo, DemoStages{"made-up", StagesHash(nullptr)}));
    // Played on the game's own stages the checks part at once.
    SimCore own(demo.seed, HOPLA_BUILD_DIR, WaveFileLength);
    EXPECT_TRUE(PlayDemo(own, demo).mismatch);
}

TEST(Judge, ReportsASealedStage) {
    JudgeOptions options;
    options.tries = 1;
    options.beam = 8;  // a narrow beam gives up as surely, and sooner
    const StageResult r = JudgeStage(MadeUp(true), 0, options);
    EXPECT_FALSE(r.solved);
    EXPECT_NE(r.blocked.find("no ball it kept had a way to the exit"), std::string::npos)
        << r.blocked;
    EXPECT_EQ(r.setting.beam, options.beam << (options.tries - 1));
    // Stopped, the search gives up at once, even on a stage it would clear.
    const std::atomic<bool> stop{true};
    options.stop = &stop;
    EXPECT_EQ(JudgeStage(MadeUp(false), 0, options).blocked, "the search was stopped");
}

TEST(Prove, FindsTheQuickestRouteRoundByRound) {
    // The ball drops three ticks onto a launcher whose row is open to the exit: the bound sees
    // the drop (the flight costs none), and its first round finds the way out.
    StageFile file{"made up", "", {StageBlock{0, 100, 100, {}}}};
    for (int r = 0; r < kStageRowCount; ++r)
        file.stages[0].rows[r] =
            r == 0 || r == 14 ? std::string(20, '1') : "1" + std::string(19, '0');
    file.stages[0].rows[3][2] = '4';
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength), played(1, HOPLA_BUILD_DIR, WaveFileLength);
    for (SimCore* s : {&sim, &played}) {
        s->game().applyStages(file);
        EnterPlay(*s, 0);
    }
    const std::uint64_t start = sim.game().handlersRun();
    ProveOptions options;
    options.best = 4;  // a route known: the bound is worked out for every state up to it
    const ProveResult p = ProveStage(sim, options);
    EXPECT_EQ(sim.game().handlersRun(), start);
    EXPECT_EQ(p.bound, 3);
    EXPECT_EQ(p.searched, 3);
    EXPECT_TRUE(p.optimal);
    ASSERT_TRUE(p.found.solved);
    PlayInputs(played, p.found.inputs);
    EXPECT_EQ(played.state().StageNo, 1);
    EXPECT_EQ(played.state().StageTime[0], 3);
}

}  // namespace
}  // namespace hopla
