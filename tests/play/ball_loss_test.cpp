// A ball out through the floor: quitting from the title room, a retry, or game over.
#include <gtest/gtest.h>

#include "play/BallLoss.h"
#include "support/Playfield.h"

namespace hopla {
namespace {

using testing::Playfield;

// A ball about to drop below y = 552 on `stage`, well right of its start.
void AboutToFall(Playfield& p, int stage, std::int16_t ballsLeft) {
    GameState& s = p.s();
    s.StageNo = stage;
    s.BallsLeft = ballsLeft;
    s.BallColor = 15;
    s.SpeedX = 2;
    s.SpeedY = -11.5;
    for (int i = 0; i <= 3; ++i) {
        s.TrailX[i] = 600;
        s.TrailY[i] = 540;
    }
    for (auto& column : s.TileGrid) column.fill(kEmpty);
    p.f().Back.fillRect(p.f().Back.bounds(), kBlack);
    p.f().Display.fillRect(p.f().Display.bounds(), kBlack);
    p.f().Timer1.setInterval(s.BallInterval);
}

// The shaft under the End sign quits at once; the rest of the tick does not run.
TEST(Otita, FallingOutOfTheTitleRoomEndsTheGame) {
    Playfield p;
    AboutToFall(p, kTitleStage, 1);
    GameState& s = p.s();
    for (int i = 0; i <= 3; ++i) s.TrailX[i] = 760;  // past the exit line too
    p.sim.runFor(s.BallInterval);
    EXPECT_TRUE(p.sim.game().ended());
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"stop"});
    EXPECT_EQ(s.BallsLeft, 1);
    EXPECT_EQ(s.StageNo, kTitleStage);  // NextStage did not run
    EXPECT_FALSE(p.f().Timer4.running());
}

TEST(Otita, ARetryPutsTheBallHiddenAtTheStageStart) {
    Playfield p;
    AboutToFall(p, 12, 5);
    GameState& s = p.s();
    s.BallInterval = 45;
    p.f().Timer1.setInterval(45);
    s.Tick = 9;
    p.ticks(1);
    EXPECT_EQ(s.BallsLeft, 4);
    EXPECT_EQ(s.StageNo, 12);
    EXPECT_EQ(s.BallState, kBallInPlay);
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"otita.wav"});
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(s.TrailX[i], s.StartX[12]);
        EXPECT_EQ(s.TrailY[i], s.StartY[12]);
    }
    EXPECT_EQ(s.SpeedX, 0);
    EXPECT_EQ(s.SpeedY, 0);
    EXPECT_EQ(s.BallColor, 0);
    EXPECT_EQ(s.Tick, 0);
    EXPECT_EQ(p.f().Timer4.interval(), 8);
    EXPECT_FALSE(p.f().Timer1.running());
    EXPECT_FALSE(p.sim.game().ended());
}

TEST(Otita, TheLastBallStopsTheFallSoundAndSetsUpGameOver) {
    Playfield p;
    AboutToFall(p, 7, 1);
    GameState& s = p.s();
    p.ticks(1);
    EXPECT_EQ(s.BallsLeft, 0);
    EXPECT_EQ(p.sounds(), (std::vector<std::string>{"otita.wav", "stop"}));
    const auto& calls = p.soundLog.calls();
    EXPECT_EQ(calls[0].at, calls[1].at);
    EXPECT_EQ(s.StageNo, kTitleStage);
    EXPECT_EQ(s.BallState, kBallGameOver);
    EXPECT_EQ(s.TypingRow, 1);
    for (int r = 0; r < 15; ++r)
        for (int c = 0; c < 20; ++c) ASSERT_EQ(s.TileGrid[c][r], s.StageMap[21][r][c] - '0');
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(s.TrailX[i], s.StartX[21]);
        EXPECT_EQ(s.TrailY[i], s.StartY[21]);
    }
    EXPECT_EQ(s.BallColor, 0);
    EXPECT_EQ(s.Tick, 0);
    EXPECT_EQ(p.f().Timer4.interval(), 5);
    EXPECT_FALSE(p.f().Timer1.running());
}

// Game over runs through the introduction and the banner back into play on the title stage.
TEST(Otita, AfterGameOverPlayResumesInTheTitleRoom) {
    Playfield p;
    AboutToFall(p, 7, 1);
    p.ticks(1);
    Form1& f = p.f();
    for (int i = 0; i < 200 && !f.Timer1.running(); ++i) p.sim.runFor(100);
    ASSERT_TRUE(f.Timer1.running());
    EXPECT_EQ(p.s().StageNo, kTitleStage);
    EXPECT_EQ(p.s().BallColor, 15);
}

}  // namespace
}  // namespace hopla
