// Whole sequences with the real play around them: new game, lost balls, Space, game over,
// the ending and the closing click.
#include <gtest/gtest.h>

#include "shell/GameFiles.h"
#include "stage/StageData.h"
#include "support/SequenceTesting.h"

namespace hopla {
namespace {

using testing::HandlerLog;

constexpr double kPlayOnTitle = 10080;  // the banner has started the ball on the title stage

bool GridHolds(const GameState& s, int stage) {
    for (int row = 0; row < 15; ++row)
        for (int col = 0; col < 20; ++col)
            if (s.TileGrid[col][row] != s.StageMap[stage][row][col] - '0') return false;
    return true;
}

// Drops the ball into stage 0's pit (columns 13 and 14 of the floor): the next ball tick
// finds it below the floor line and loses it.
void DropIntoPit(GameState& s) {
    for (int i = 0; i < 4; ++i) {
        s.TrailX[i] = 540;
        s.TrailY[i] = 570;
    }
    s.SpeedX = 0;
    s.SpeedY = 0;
}

TEST(Scenario, NewGameIntroductionThenTheStageAfter1800ms) {
    struct Case {
        int ballInterval, wipeInterval;
    };
    for (const Case& c : {Case{30, 5}, Case{45, 8}, Case{15, 2}, Case{60, 10}}) {
        SCOPED_TRACE(c.ballInterval);
        SimCore sim(21, HOPLA_BUILD_DIR, WaveFileLength);
        GameState& s = sim.state();
        Form1& f = sim.form();
        sim.runUntil(kPlayOnTitle);
        s.BallInterval = c.ballInterval;
        HandlerLog log(sim);
        sim.startStage(0);  // the ball leaves the title stage
        std::vector<double> wipe;
        for (int k = 1; k <= 51; ++k) wipe.push_back(kPlayOnTitle + c.wipeInterval * k);
        const double handOver = wipe.back();

        sim.runUntil(handOver);
        EXPECT_EQ(log.times("Timer4"), wipe);
        EXPECT_EQ(f.Label1.caption(), "Stage   0");
        EXPECT_EQ(f.Label2.caption(), "9  Hopla");
        EXPECT_EQ(s.Score, 0);

        sim.runUntil(handOver + 1799);
        EXPECT_FALSE(f.Timer1.running());
        EXPECT_TRUE(GridHolds(s, kTitleStage));
        sim.runUntil(handOver + 1800);
        EXPECT_EQ(f.Timer1.interval(), c.ballInterval);
        EXPECT_TRUE(GridHolds(s, 0));
        // The stage has painted over the captions and the score line.
        EXPECT_EQ(f.Display.image(), f.Back.image());
    }
}

// Stage time counts Timer1 ticks; the introduction sums a tenth of each and 30 per lost ball.
TEST(Scenario, EveryIntroductionShowsBothCaptionsEvenWhenOneIsUnchanged) {
    SimCore sim(21, HOPLA_BUILD_DIR, WaveFileLength);
    Form1& f = sim.form();
    sim.runUntil(kPlayOnTitle);
    for (int stage : {0, 1}) {  // a new game: 9 balls at every introduction
        sim.startStage(stage);
        sim.runFor(51 * 5 + 1800);  // the wipe, then the stage drawn over the captions
        ASSERT_TRUE(f.Timer1.running());
    }
    sim.startStage(2);
    sim.runFor(51 * 5);
    EXPECT_EQ(f.Label2.caption(), "9  Hopla");  // the same as at the introduction before
    int lit = 0;                                // white glyph pixels of Label2 on the screen
    for (int y = 297; y < 297 + 33; ++y)
        for (int x = 345; x < 345 + 185; ++x) lit += f.Display.point(x, y) == kWhite;
    EXPECT_GT(lit, 20);
}

TEST(Scenario, ScoreAfterALostBallAndAtTheNextStage) {
    SimCore sim(21, HOPLA_BUILD_DIR, WaveFileLength);
    GameState& s = sim.state();
    Form1& f = sim.form();
    sim.runUntil(kPlayOnTitle);
    sim.startStage(0);
    sim.runUntil(kPlayOnTitle + 255 + 1800);
    ASSERT_TRUE(f.Timer1.running());
    HandlerLog log(sim);
    sim.runFor(3000);
    ASSERT_EQ(s.StageNo, 0);
    DropIntoPit(s);
    sim.runFor(s.BallInterval);
    ASSERT_FALSE(f.Timer1.running());
    const int firstTicks = static_cast<int>(log.times("Timer1").size());
    EXPECT_EQ(s.BallsLeft, 8);

    sim.runFor(255);  // the wipe
    EXPECT_EQ(f.Label1.caption(), "Stage   0");
    EXPECT_EQ(f.Label2.caption(), "8  Hopla");
    EXPECT_EQ(s.Score, firstTicks / 10 + 30);

    sim.runFor(1800 + 2000);  // the stage again, played for two more seconds
    ASSERT_EQ(s.StageNo, 0);
    const int allTicks = static_cast<int>(log.times("Timer1").size());
    EXPECT_GT(allTicks, firstTicks);
    sim.startStage(1);
    sim.runFor(255);
    EXPECT_EQ(f.Label1.caption(), "Stage   1");
    EXPECT_EQ(f.Label2.caption(), "8  Hopla");
    EXPECT_EQ(s.Score, allTicks / 10 + 30);
}

TEST(Scenario, SpaceReturnsToTheTitleStageAfter600ms) {
    SimCore sim(21, HOPLA_BUILD_DIR, WaveFileLength);
    GameState& s = sim.state();
    Form1& f = sim.form();
    sim.runUntil(kPlayOnTitle);
    sim.startStage(3);
    sim.runFor(255 + 1800 + 500);
    ASSERT_TRUE(f.Timer1.running());
    const std::string caption = f.Label1.caption();
    const double pressed = sim.nowMs();
    sim.keyDown(32);
    sim.keyUp(32);
    sim.runUntil(pressed + 255);
    EXPECT_EQ(f.Timer5.interval(), 300);
    EXPECT_EQ(f.Label1.caption(), caption);  // no captions this time
    sim.runUntil(pressed + 255 + 599);
    EXPECT_FALSE(f.Timer1.running());
    sim.runUntil(pressed + 255 + 600);
    EXPECT_TRUE(f.Timer1.running());
    EXPECT_EQ(s.StageNo, kTitleStage);
    EXPECT_TRUE(GridHolds(s, kTitleStage));
    EXPECT_EQ(s.BallColor, 15);
}

TEST(Scenario, LastBallLostShowsGameOverThenTheTitleStage) {
    SimCore sim(21, HOPLA_BUILD_DIR, WaveFileLength);
    testing::SoundLog sounds(sim.sound());
    GameState& s = sim.state();
    Form1& f = sim.form();
    sim.runUntil(kPlayOnTitle);
    sim.startStage(0);
    sim.runFor(255 + 1800 + 100);
    s.BallsLeft = 1;
    DropIntoPit(s);
    HandlerLog log(sim);
    sim.runFor(s.BallInterval);
    ASSERT_EQ(s.BallState, kBallGameOver);
    const double lost = log.times("Timer1").back();
    const double wiped = lost + 255;
    sim.runUntil(wiped);
    EXPECT_EQ(f.Timer6.interval(), 500);
    EXPECT_EQ(f.Timer5.interval(), 0);

    sim.runUntil(wiped + 2360);
    EXPECT_EQ(f.Label1.caption(), "Game Over");
    std::vector<double> clicks;
    for (int k = 0; k < 5; ++k) clicks.push_back(wiped + 1000 + 340 * k);
    EXPECT_EQ(testing::ClickTimes(sounds, lost), clicks);
    sim.runUntil(wiped + 5079);
    EXPECT_FALSE(f.Timer1.running());
    sim.runUntil(wiped + 5080);
    EXPECT_TRUE(f.Timer1.running());
    EXPECT_EQ(s.StageNo, kTitleStage);
    EXPECT_TRUE(GridHolds(s, kTitleStage));
    EXPECT_TRUE(log.times("Timer5").empty());
}

// Mouse presses during the ending change nothing; the first one after the final screen ends
// the application.
TEST(Scenario, EndingClosesOnTheFirstPressAfterTheFinalScreen) {
    auto play = [](SimCore& sim, bool press) {
        sim.runUntil(kPlayOnTitle);
        sim.startStage(0);
        for (int i = 0; i <= 20; ++i) sim.state().StageTime[i] = 1100;
        sim.state().BallsLeft = 7;
        sim.startStage(21);  // stage 20 cleared
        std::vector<double> etimer;
        const ObserverHandle watching = sim.game().observe([&](std::string_view name) {
            if (name == "Etimer") etimer.push_back(sim.nowMs());
        });
        for (double t = kPlayOnTitle + 250; sim.state().EndPhase != 10; t += 250) {
            sim.runUntil(t);
            if (press && sim.state().EndPhase != 10) {
                sim.mouseDown(1 + static_cast<int>(t / 250) % 2);
                EXPECT_FALSE(sim.game().ended()) << t;
            }
        }
        return etimer;
    };
    SimCore quiet(21, HOPLA_BUILD_DIR, WaveFileLength),
        pressed(21, HOPLA_BUILD_DIR, WaveFileLength);
    const std::vector<double> want = play(quiet, false);
    EXPECT_EQ(play(pressed, true), want);
    EXPECT_EQ(pressed.state().BallInterval, 30);
    EXPECT_EQ(pressed.state().Score, 2370);
    EXPECT_EQ(pressed.state().ScoreCode, "enda");
    EXPECT_FALSE(pressed.game().ended());
    pressed.runFor(5000);
    EXPECT_FALSE(pressed.game().ended());
    pressed.mouseDown(2);
    EXPECT_TRUE(pressed.game().ended());
}

}  // namespace
}  // namespace hopla
