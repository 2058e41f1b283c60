// The solver's search on the real game: what it finds clears the stage when played into a
// game of its own, and a search that gives up says how far it got.
#include <gtest/gtest.h>

#include "headless/SimCore.h"
#include "tools/solve/StageSearch.h"

namespace hopla {
namespace {

// A game at the start of play in stage n, as the solver is given it.
void EnterPlay(SimCore& sim, int n) {
    sim.startStage(n);
    while (!sim.form().Timer1.running()) sim.runFor(10);
}

TEST(Solver, WhatItFindsClearsTheStageInAnotherGame) {
    // From a fresh stage, and from one whose time has stopped at its limit (a slow player's):
    // the search counts its own ticks, so a time that no longer moves does not stall it.
    for (const int timeBefore : {0, 32767}) {
        SimCore searched(1, HOPLA_BUILD_DIR), played(1, HOPLA_BUILD_DIR);
        EnterPlay(searched, 19);
        EnterPlay(played, 19);
        searched.state().StageTime[19] = played.state().StageTime[19] =
            static_cast<std::int16_t>(timeBefore);
        const std::uint64_t start = searched.game().handlersRun();
        const StageResult r = SolveStage(searched, {});
        ASSERT_TRUE(r.solved) << timeBefore << ": " << r.blocked;
        EXPECT_EQ(searched.game().handlersRun(), start);  // the game is left as it was found
        EXPECT_GT(r.ticks, timeBefore == 0 ? 0 : 32766);
        PlayInputs(played, r.inputs);
        EXPECT_EQ(played.state().StageNo, 20) << timeBefore;
        EXPECT_EQ(played.state().BallsLeft, kBallsPerGame) << timeBefore;
        EXPECT_EQ(played.state().StageTime[19], r.ticks) << timeBefore;
    }
}

TEST(Solver, SaysWhyItGaveUp) {
    SimCore sim(1, HOPLA_BUILD_DIR);
    EnterPlay(sim, 0);
    SearchOptions options;
    options.maxTicks = 5;
    const StageResult r = SolveStage(sim, options);
    EXPECT_FALSE(r.solved);
    EXPECT_NE(r.blocked.find("no way out within 5 ticks"), std::string::npos) << r.blocked;
    sim.startStage(3);  // the introduction, not play
    EXPECT_EQ(SolveStage(sim, {}).blocked, "the game is not at the start of play in a stage");
}

}  // namespace
}  // namespace hopla
