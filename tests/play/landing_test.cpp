// What the tile under a landing ball does: break, spring, catch, or nothing.
#include <gtest/gtest.h>

#include "play/Landing.h"
#include "support/Playfield.h"

namespace hopla {
namespace {

using testing::AllOf;
using testing::CellShows;
using testing::Playfield;

const std::string kFloor = "11111111111111111111";

// TateTokusyu straight after the tick's bounce (SpeedY 8), the ball 10 pixels above cell (5, 8).
TEST(TateTokusyu, ReactsToTheCodeUnderTheBall) {
    struct Case {
        std::int16_t code;
        double speedY;
        const char* sound;  // nullptr: none
        int ballState;
    };
    for (const Case c : {Case{kWall, 8, nullptr, kBallInPlay},
                         {kBreakable, 7, "brake.wav", kBallInPlay},
                         {kSpring, 16, "jump.wav", kBallInPlay},
                         {kLauncher, 8, "kabe.wav", kBallCaught},
                         {kEndSign, 8, nullptr, kBallInPlay},
                         {kStartSign, 8, nullptr, kBallInPlay},
                         {7, 8, nullptr, kBallInPlay}}) {
        Playfield p;
        GameState& s = p.s();
        s.TileGrid[5][8] = c.code;
        s.TrailX[0] = 215;
        s.TrailY[0] = 310;
        s.SpeedX = 3;
        s.SpeedY = 8;
        TateTokusyu(p.f(), s);
        EXPECT_EQ(s.SpeedY, c.speedY) << c.code;
        EXPECT_EQ(s.SpeedX, 3) << c.code;
        EXPECT_EQ(s.BallState, c.ballState) << c.code;
        EXPECT_EQ(p.sounds(),
                  c.sound ? std::vector<std::string>{c.sound} : std::vector<std::string>{})
            << c.code;
        EXPECT_EQ(s.TileGrid[5][8], c.code);  // the grid is never changed
    }
}

// The cell is the row below the point 12 pixels above the ball: a ball sunk 12 pixels or more
// into a block reads the cell under it.
TEST(TateTokusyu, ABallSunkIntoABlockOverNothingStopsAndTurns) {
    struct Case {
        double y;
        bool sunk;
    };
    for (const Case c : {Case{331.9, false}, {332, true}, {345, true}}) {
        Playfield p;
        GameState& s = p.s();
        s.TileGrid[5][8] = kWall;  // y 320..359, nothing below
        s.TrailX[0] = 215;
        s.TrailY[0] = c.y;
        s.SpeedX = 4;
        s.SpeedY = 8;
        TateTokusyu(p.f(), s);
        EXPECT_EQ(s.SpeedY, c.sunk ? 0 : 8) << c.y;
        EXPECT_EQ(s.SpeedX, c.sunk ? -4 : 4) << c.y;
    }
}

// A cell outside the grid's index ranges reads as Empty.
TEST(TateTokusyu, ACellOutsideTheGridReadsAsEmpty) {
    struct Case {
        double x, y;
    };
    for (const Case c : {Case{-5, 300}, {1005, 300}, {300, 800}, {300, -100}}) {
        Playfield p;
        GameState& s = p.s();
        for (auto& column : s.TileGrid) column.fill(kWall);
        s.TrailX[0] = c.x;
        s.TrailY[0] = c.y;
        s.SpeedX = 2;
        s.SpeedY = 8;
        TateTokusyu(p.f(), s);
        EXPECT_EQ(s.SpeedY, 0) << c.x << "," << c.y;
        EXPECT_EQ(s.SpeedX, -2) << c.x << "," << c.y;
    }
}

// Breaking, falling through the hole, losing the ball and getting the block back.
TEST(Landing, ABreakableBlockBreaksLetsTheBallThroughAndReturnsAfterALoss) {
    Playfield p;
    p.load(3, {{8, "00000200000000000000"}}, 220, 100);
    GameState& s = p.s();
    Form1& f = p.f();
    s.BallsLeft = 6;
    ASSERT_GT(p.tickUntil(40, [&] { return p.played("brake.wav"); }), 0);
    EXPECT_EQ(p.sounds(), (std::vector<std::string>{"junp.wav", "brake.wav"}));
    EXPECT_EQ(s.SpeedY, 7);
    EXPECT_EQ(s.TileGrid[5][8], kBreakable);
    // Painted black in Back, edges included, and gone from the frame at once.
    EXPECT_TRUE(AllOf(f.Back, 200, 320, 241, 361, kBlack));
    EXPECT_TRUE(AllOf(f.Display, 200, 340, 240, 360, kBlack));

    // Up and down again: no more contact, the ball drops out of the floor.
    p.soundLog.clear();
    ASSERT_GT(p.tickUntil(100, [&] { return s.BallsLeft == 5; }), 0);
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"otita.wav"});

    // The retry's introduction and load bring the block back.
    for (int i = 0; i < 100 && !f.Timer1.running(); ++i) p.sim.runFor(100);
    ASSERT_TRUE(f.Timer1.running());
    EXPECT_TRUE(CellShows(f.Back, 5, 8, f.Chip, 1));
}

TEST(Landing, ASpringThrowsTheBallAboutTwiceAsHigh) {
    Playfield p;
    p.load(3, {{8, "00000300000000000000"}, {12, kFloor}}, 220, 150);
    GameState& s = p.s();
    ASSERT_GT(p.tickUntil(40, [&] { return p.played("jump.wav"); }), 0);
    EXPECT_EQ(s.SpeedY, 16);
    double top = s.TrailY[0];
    for (int i = 0; i < 30; ++i) {
        p.ticks(1);
        top = std::min(top, s.TrailY[0]);
    }
    EXPECT_LT(top, 320 - 150);  // a plain bounce rises about 40 pixels
}

TEST(Landing, ALauncherCatchesAndHidesTheBallAndStopsTimer1) {
    Playfield p;
    p.load(3, {{8, "00000400000000000000"}}, 220, 150);
    GameState& s = p.s();
    Form1& f = p.f();
    ASSERT_GT(p.tickUntil(40, [&] { return p.played("kabe.wav"); }), 0);
    EXPECT_EQ(s.BallState, kBallCaught);
    EXPECT_EQ(s.LauncherX, 220);
    EXPECT_EQ(s.LauncherY, 340);
    EXPECT_EQ(s.BallColor, 0);
    EXPECT_FALSE(f.Timer1.running());
    EXPECT_TRUE(testing::SameImage(f.Display, f.Back));  // no ball to be seen
    // Keys other than the arrows do nothing now.
    const GameState before = s;
    for (int key : {32, 65, 38, 40}) p.sim.keyDown(key);
    EXPECT_EQ(s.BallState, kBallCaught);
    EXPECT_EQ(s.HeldKey, before.HeldKey);
    EXPECT_EQ(s.StageNo, before.StageNo);
    EXPECT_FALSE(f.Timer1.running() || f.Timer3.running() || f.Timer4.running());
}

TEST(Landing, SignsBounceLikeWallsWhereTheyAreColoured) {
    for (int sign : {kEndSign, kStartSign}) {
        Playfield p;
        std::string row(20, '0');
        row[5] = static_cast<char>('0' + sign);
        p.load(3, {{8, row}}, 220, 100);
        GameState& s = p.s();
        // The ball falls to the first coloured pixel of the sign under it.
        int firstColoured = 40;
        for (int y = 0; y < 40 && firstColoured == 40; ++y)
            if (p.f().Chip.point(40 * (sign - 1) + 20, y) != kBlack) firstColoured = y;
        ASSERT_LT(firstColoured, 40);
        ASSERT_GT(p.tickUntil(40, [&] { return p.played("junp.wav"); }), 0) << sign;
        EXPECT_EQ(s.SpeedY, 8) << sign;
        EXPECT_EQ(p.sounds(), std::vector<std::string>{"junp.wav"});
    }
}

}  // namespace
}  // namespace hopla
