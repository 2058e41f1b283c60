// Saving the whole game and going back: a game restored from a snapshot and played on is the
// same as one that never stopped, hash for hash.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "headless/SimCore.h"
#include "play/Input.h"
#include "shell/GameFiles.h"

namespace hopla {
namespace {

// One step of a random run: mostly the next tick, sometimes a key, a release, a press of the
// mouse, Space, or a jump to another stage. A ball on the title stage is sent to a stage
// rather than let fall down the End shaft.
void RandomStep(SimCore& sim, std::mt19937& random) {
    Game& game = sim.game();
    const unsigned roll = random() % 100;
    if (sim.state().StageNo == kTitleStage && sim.form().Timer1.running()) {
        sim.startStage(static_cast<int>(random() % 21));
    } else if (roll < 8) {
        game.keyDown(roll % 2 ? kVkLeft : kVkRight);
    } else if (roll < 12) {
        game.keyUp(kVkRight);
    } else if (roll < 13) {
        game.mouseDown(1 + static_cast<int>(random() % 2));
    } else if (roll < 14 && random() % 4 == 0) {
        game.keyDown(kVkSpace);
    } else if (roll < 15 && random() % 4 == 0) {
        sim.startStage(static_cast<int>(random() % 21));
    } else if (!sim.runNextTimer()) {
        game.keyDown(kVkRight);  // a ball waiting on a launcher
    }
}

void ExpectSame(SimCore& a, SimCore& b, int step) {
    ASSERT_EQ(a.game().handlersRun(), b.game().handlersRun()) << "step " << step;
    ASSERT_EQ(a.clock().now(), b.clock().now()) << "step " << step;
    ASSERT_EQ(a.game().check(), b.game().check()) << "step " << step;
}

TEST(Snapshot, RestoredAndPlayedOnMatchesAGameThatNeverStopped) {
    SimCore straight(3, HOPLA_BUILD_DIR, WaveFileLength),
        detoured(3, HOPLA_BUILD_DIR, WaveFileLength);
    std::mt19937 run(11), detours(12);
    int restores = 0;
    for (int step = 0; step < 4000 && !straight.game().ended(); ++step) {
        if (run() % 40 == 0) {
            // Saved, played elsewhere for a while (perhaps on from a second snapshot), and back.
            const SimCore::Snapshot saved = detoured.save();
            for (int k = static_cast<int>(detours() % 120); k > 0; --k) {
                RandomStep(detoured, detours);
                if (k == 30) {
                    const SimCore::Snapshot inner = detoured.save();
                    for (int j = 0; j < 25; ++j) RandomStep(detoured, detours);
                    detoured.restore(inner);
                }
            }
            detoured.restore(saved);
            ++restores;
            ExpectSame(straight, detoured, step);
        }
        const std::uint32_t seed = run();
        std::mt19937 same1(seed), same2(seed);
        RandomStep(straight, same1);
        RandomStep(detoured, same2);
        if (step % 20 == 0) ExpectSame(straight, detoured, step);
    }
    ExpectSame(straight, detoured, -1);
    EXPECT_GT(restores, 50);
    EXPECT_GT(straight.game().handlersRun(), 3000u);
}

// The stage table is shared between a game and its snapshots: a write after the save (the
// ending's landscape, hopla-sim's `set`) must not reach the snapshot, nor one made before it.
TEST(Snapshot, TheStageTableWrittenAfterASaveGoesBackWithIt) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    const StateCheck before = sim.game().check();
    const SimCore::Snapshot saved = sim.save();
    const SimCore::Snapshot copy = saved;
    sim.state().StageMap[0][3] = "11111111111111111111";
    const StateCheck written = sim.game().check();
    EXPECT_NE(written.record, before.record);
    sim.restore(saved);
    EXPECT_EQ(sim.game().check(), before);
    sim.state().StageMap[4][0] = "2";
    sim.restore(copy);
    EXPECT_EQ(sim.game().check(), before);
    EXPECT_NE(sim.state().StageMap[4][0], "2");
}

TEST(Snapshot, GoesBackOnlyIntoTheGameThatTookIt) {
    SimCore a(1, HOPLA_BUILD_DIR, WaveFileLength), b(1, HOPLA_BUILD_DIR, WaveFileLength);
    EXPECT_THROW(b.restore(a.save()), std::invalid_argument);
    EXPECT_THROW(b.restore(SimCore::Snapshot{}), std::invalid_argument);
}

}  // namespace
}  // namespace hopla
