// Leaving a stage: a new game from the title room, the next stage, the ending after stage 20.
#include <gtest/gtest.h>

#include "stage/Progression.h"
#include "stage/Render.h"
#include "support/Playfield.h"
#include "toolkit/Rounding.h"

namespace hopla {
namespace {

using testing::Playfield;

// What every stage change leaves, whatever comes next.
void ExpectBallHiddenAtStart(const GameState& s, int stage) {
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(s.TrailX[i], s.StartX[stage]) << i;
        EXPECT_EQ(s.TrailY[i], s.StartY[stage]) << i;
    }
    EXPECT_EQ(s.SpeedX, 0);
    EXPECT_EQ(s.SpeedY, 0);
    EXPECT_EQ(s.BallColor, 0);
    EXPECT_EQ(s.BallState, kBallInPlay);
}

// A ball in motion somewhere in the stage being left, with Timer1 running.
void BallInFlightOn(Playfield& p, int stage) {
    GameState& s = p.s();
    s.StageNo = stage;
    s.BallsLeft = 4;
    s.BallState = kBallLaunched;
    s.SpeedX = 6;
    s.SpeedY = -3;
    s.BallColor = 15;
    for (int i = 0; i <= 3; ++i) {
        s.TrailX[i] = 760 - 5 * i;
        s.TrailY[i] = 300;
    }
    for (int i = 0; i <= 30; ++i) s.StageTime[i] = static_cast<std::int16_t>(100 + i);
    p.f().Timer1.setInterval(s.BallInterval);
}

TEST(NextStage, LeavingTheTitleRoomStartsANewGame) {
    Playfield p;
    BallInFlightOn(p, kTitleStage);
    NextStage(p.f(), p.s());
    const GameState& s = p.s();
    EXPECT_EQ(s.StageNo, 0);
    EXPECT_EQ(s.BallsLeft, kBallsPerGame);
    for (int i = 0; i <= 22; ++i) EXPECT_EQ(s.StageTime[i], 0) << i;
    for (int i = 23; i <= 30; ++i) EXPECT_EQ(s.StageTime[i], 100 + i) << i;
    ExpectBallHiddenAtStart(s, 0);
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"next.wav"});
    EXPECT_EQ(p.f().Timer4.interval(), 5);
    EXPECT_EQ(s.Tick, 0);
    EXPECT_FALSE(p.f().Timer1.running());
}

TEST(NextStage, StagesFollowInOrderUpToTwenty) {
    for (int from : {0, 7, 19}) {
        Playfield p;
        BallInFlightOn(p, from);
        NextStage(p.f(), p.s());
        const GameState& s = p.s();
        EXPECT_EQ(s.StageNo, from + 1);
        EXPECT_EQ(s.BallsLeft, 4);  // a running game keeps its balls and times
        EXPECT_EQ(s.StageTime[0], 100);
        ExpectBallHiddenAtStart(s, from + 1);
        EXPECT_EQ(p.sounds(), std::vector<std::string>{"next.wav"});
        EXPECT_TRUE(p.f().Timer4.running());
        EXPECT_FALSE(p.f().Timer1.running());
        EXPECT_FALSE(p.f().Etimer.running());
    }
}

TEST(NextStage, LeavingStageTwentyHandsOverToTheEnding) {
    Playfield p;
    BallInFlightOn(p, 20);
    Form1& f = p.f();
    for (Timer* t : {&f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5}) t->setInterval(40);
    p.s().LoopX = 7;
    p.s().EndPhase = 3;
    NextStage(f, p.s());
    const GameState& s = p.s();
    EXPECT_EQ(s.StageNo, kTitleStage);
    ExpectBallHiddenAtStart(s, kTitleStage);
    for (const Timer* t : {&f.Timer1, &f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5})
        EXPECT_FALSE(t->running()) << t->name();
    EXPECT_EQ(f.Etimer.interval(), 2500);
    EXPECT_TRUE(p.sounds().empty());
    EXPECT_EQ(s.LoopX, 0);
    EXPECT_EQ(s.Tick, 0);
    EXPECT_EQ(s.EndPhase, 0);
    EXPECT_EQ(s.StageTime[20], 120);  // the ending's score needs the times
    // Two frames of the stage just left, the ball hidden: Display shows Back.
    EXPECT_TRUE(testing::SameImage(f.Display, f.Back));
}

TEST(NextStage, TheIntroductionRunsAtASixthOfTheBallInterval) {
    struct Case {
        int ballInterval;
        int intro;
    };
    for (const Case c :
         {Case{30, 5}, {15, 2}, {45, 8}, {60, 10}, {75, 12}, {105, 18}, {65535, 10922}}) {
        EXPECT_EQ(IntroductionInterval(c.ballInterval), c.intro) << c.ballInterval;
        Playfield p;
        BallInFlightOn(p, 3);
        p.s().BallInterval = c.ballInterval;
        NextStage(p.f(), p.s());
        EXPECT_EQ(p.f().Timer4.interval(), c.intro) << c.ballInterval;
    }
}

// The ball ticks call NextStage once the newest point is past x = 750, not at 750.
TEST(NextStage, TheExitLineIsPastSevenHundredFifty) {
    struct Case {
        double x;  // where the tick leaves the ball (speed 0.5 from x - 0.5)
        bool leaves;
    };
    for (const Case c : {Case{750, false}, {750.5, true}, {749, false}}) {
        Playfield p;
        p.load(5, {}, 300, 300);
        GameState& s = p.s();
        for (int i = 0; i <= 3; ++i) s.TrailX[i] = c.x - 0.5;
        s.SpeedX = 0.5F;
        p.ticks(1);
        EXPECT_EQ(s.StageNo, c.leaves ? 6 : 5) << c.x;
        EXPECT_EQ(p.f().Timer1.running(), !c.leaves) << c.x;
    }
}

// From the title room, through the introduction and the load, into stage 0.
TEST(NextStage, ThePlayerSteersOutOfTheTitleRoomIntoStageZero) {
    Playfield p;
    GameState& s = p.s();
    Form1& f = p.f();
    s.StageNo = kTitleStage;
    s.BallColor = 15;
    MakeScreen(f, s);
    f.Timer1.setInterval(s.BallInterval);
    // Hold Right until the ball has left through the opening by the Start sign.
    p.sim.keyDown(39);
    for (int i = 0; i < 600 && s.StageNo == kTitleStage; ++i) p.sim.runFor(30);
    p.sim.keyUp(39);
    ASSERT_EQ(s.StageNo, 0);
    EXPECT_EQ(s.BallsLeft, kBallsPerGame);
    EXPECT_TRUE(f.Timer4.running());
    // The introduction, then Timer5 loads stage 0 and play resumes.
    for (int i = 0; i < 100 && !f.Timer1.running(); ++i) p.sim.runFor(100);
    ASSERT_TRUE(f.Timer1.running());
    for (int r = 0; r < 15; ++r)
        for (int c = 0; c < 20; ++c) ASSERT_EQ(s.TileGrid[c][r], s.StageMap[0][r][c] - '0');
    EXPECT_EQ(s.BallColor, 15);
    EXPECT_EQ(s.TrailX[0], s.StartX[0]);
}

}  // namespace
}  // namespace hopla
