// The Timer1 tick: gravity, drive, colour probes, bounces, and the loss and exit lines.
#include <gtest/gtest.h>

#include <limits>

#include "support/Playfield.h"

namespace hopla {
namespace {

using testing::Playfield;

const std::string kFloor = "11111111111111111111";

// A ball in empty space, well away from every edge.
void FreeBall(Playfield& p, double x, double y, float speedX, double speedY) {
    p.load(2, {}, static_cast<int>(x), static_cast<int>(y));
    p.s().SpeedX = speedX;
    p.s().SpeedY = speedY;
}

// From a real landing on a ledge the speed runs down by 1.5 a tick and stays at -11.5.
TEST(Timer1, FromALandingSpeedYRunsDownToMinusElevenAndAHalf) {
    Playfield p;
    p.load(2, {{6, "00000100000000000000"}}, 190, 60);  // one wall block at x 200..239
    GameState& s = p.s();
    s.SpeedX = 3;  // drifts off the ledge after the bounce
    ASSERT_GT(p.tickUntil(40, [&] { return p.played("junp.wav"); }), 0);
    EXPECT_EQ(s.SpeedY, 8);
    std::vector<double> run{s.SpeedY};
    for (int i = 0; i < 15 && s.TrailY[0] <= 500; ++i) {
        p.ticks(1);
        run.push_back(s.SpeedY);
    }
    const std::vector<double> want{8,  6.5,  5,  3.5,  2,   0.5,   -1,    -2.5,
                                   -4, -5.5, -7, -8.5, -10, -11.5, -11.5, -11.5};
    EXPECT_EQ(run, want);
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"junp.wav"});  // one landing only
}

// Gravity stops once the speed is -11 or below; where the fall settles depends on the start.
TEST(Timer1, TheFallSettlesBetweenMinusElevenAndMinusTwelveAndAHalf) {
    struct Case {
        double from;
        double settles;
    };
    for (const Case c : {Case{8, -11.5},
                         {7, -11},
                         {10, -11},
                         {16, -11},
                         {-2, -11},
                         {0, -12},
                         {-11, -11},
                         {-10.5, -12}}) {
        Playfield p;
        FreeBall(p, 400, 250, 0, c.from);
        for (int i = 0; i < 30 && p.s().TrailY[0] < 500; ++i) p.ticks(1);
        EXPECT_EQ(p.s().SpeedY, c.settles) << c.from;
    }
}

TEST(Timer1, TheHeldArrowDrivesOnlyInsideTheWindow) {
    struct Case {
        float speedX;
        int heldKey;
        float after;
    };
    for (const Case c : {Case{10.5F, 39, 11.5F},
                         {11, 39, 11},
                         {11, 37, 11},
                         {-11, 37, -11},
                         {-10.5F, 37, -11.5F},
                         {12, 37, 12},
                         {0, 37, -1},
                         {2.5F, 39, 3.5F},
                         {4, 32, 4},
                         {4, 0, 4}}) {
        Playfield p;
        FreeBall(p, 300, 200, c.speedX, 0);
        p.s().HeldKey = static_cast<std::int16_t>(c.heldKey);
        p.ticks(1);
        EXPECT_EQ(p.s().SpeedX, c.after) << c.speedX << " key " << c.heldKey;
    }
}

TEST(Timer1, MovesDrawsAndCountsTheStageTime) {
    Playfield p;
    FreeBall(p, 300, 200, 4, 5);
    GameState& s = p.s();
    s.StageTime[2] = 41;
    p.ticks(1);  // SpeedY 3.5 after gravity: 6.3 pixels up
    EXPECT_EQ(s.StageTime[2], 42);
    EXPECT_DOUBLE_EQ(s.TrailX[0], 304);
    EXPECT_DOUBLE_EQ(s.TrailY[0], 200 - 1.8 * 3.5);
    EXPECT_DOUBLE_EQ(s.TrailX[1], 300);
    EXPECT_EQ(p.f().Display.point(s.TrailX[0], s.TrailY[0]), kWhite);
    p.ticks(2);
    // The oldest segment is blacked out behind the ball.
    EXPECT_EQ(p.f().Display.point(300, 200), kBlack);
    EXPECT_EQ(s.LoopX, 0);
    EXPECT_TRUE(p.sounds().empty());
}

// The stage time stops at the largest 16-bit value instead of overflowing.
TEST(Timer1, StageTimeStopsAt32767) {
    Playfield p;
    FreeBall(p, 300, 200, 0, 0);
    p.s().StageTime[2] = 32766;
    p.ticks(3);
    EXPECT_EQ(p.s().StageTime[2], std::numeric_limits<std::int16_t>::max());
    EXPECT_EQ(p.s().StageTime[3], 0);
}

TEST(Timer1, ALandingBouncesAtEightLiftsTheBallAndRedraws) {
    Playfield p;
    p.load(2, {{12, kFloor}}, 300, 380);
    GameState& s = p.s();
    const int n = p.tickUntil(40, [&] { return p.played("junp.wav"); });
    ASSERT_GT(n, 0);
    EXPECT_EQ(s.SpeedY, 8);
    EXPECT_LT(s.TrailY[0], 480 - 10);  // above the floor's top
    // A full frame was presented: nothing was drawn on Display after ScreenOn.
    EXPECT_TRUE(testing::SameImage(p.f().Display, p.f().Dark));
}

TEST(Timer1, TheTopOfTheWindowIsACeiling) {
    Playfield p;
    FreeBall(p, 300, 15, 0, 6);  // 4.5 after gravity: probe at 15 - 8.1 - 9 < 0
    p.ticks(1);
    EXPECT_EQ(p.s().SpeedY, -2);
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"junp.wav"});
    // Pushed down 5 after the move, then ScreenOn moves it 1.5 x 2 = 3 further down.
    EXPECT_DOUBLE_EQ(p.s().TrailY[0], 15 - 1.8 * 4.5 + 5 + 3);
}

// At speed 0 the probe is the ball's own newest point, which is white, so only a point outside
// the window (above its top) can make such a contact.
TEST(Timer1, AContactAtSpeedZeroCountsAsACeiling) {
    Playfield p;
    FreeBall(p, 300, -3, 0, 1.5);  // zero after gravity
    p.ticks(1);
    EXPECT_EQ(p.s().SpeedY, -2);
    EXPECT_DOUBLE_EQ(p.s().TrailY[0], -3 + 5 + 3);
}

TEST(Timer1, AWallBesideTheBallBouncesItBack) {
    struct Case {
        float speedX;
        int wallColumn;
    };
    for (const Case c : {Case{8, 10}, {-8, 4}}) {
        Playfield p;
        std::string row(20, '0');
        row[c.wallColumn] = '1';
        p.load(2, {{6, row}, {7, row}, {8, row}}, 0, 300);
        GameState& s = p.s();
        // 20 pixels before the wall's near face: the probe two speeds ahead is inside it.
        const double face = c.speedX > 0 ? 40.0 * c.wallColumn : 40.0 * (c.wallColumn + 1) - 1;
        for (int i = 0; i <= 3; ++i) s.TrailX[i] = face - (c.speedX > 0 ? 20 : -20);
        s.SpeedX = c.speedX;
        s.SpeedY = 1.5;  // level for this tick
        const double before = s.TrailX[0];
        p.ticks(1);
        EXPECT_EQ(s.WallHitSpeed, c.speedX);
        EXPECT_FLOAT_EQ(s.SpeedX, -0.7F * c.speedX);
        // Moved by SpeedX, pushed 15 back, then ScreenOn's step at the new speed.
        const double sign = c.speedX > 0 ? -1 : 1;
        EXPECT_DOUBLE_EQ(s.TrailX[1], before + c.speedX + sign * 15);
        EXPECT_DOUBLE_EQ(s.TrailX[0], s.TrailX[1] + s.SpeedX);
        EXPECT_EQ(p.sounds(), std::vector<std::string>{"junp.wav"});
        // The next tick clears the contact.
        p.ticks(1);
        EXPECT_EQ(s.WallHitSpeed, 0);
    }
}

TEST(Timer1, WhitePixelsAreFree) {
    Playfield p;
    FreeBall(p, 300, 200, 0, -5);
    p.f().Display.fillRect({280, 200, 320, 260}, kWhite);  // white text under the ball
    p.ticks(1);
    EXPECT_EQ(p.s().SpeedY, -6.5);
    EXPECT_TRUE(p.sounds().empty());
}

TEST(Timer1, TheLossLineIsPast552) {
    struct Case {
        double y;  // where the tick leaves the ball
        bool lost;
    };
    for (const Case c : {Case{552, false}, {552.25, true}}) {
        Playfield p;
        FreeBall(p, 300, 0, 0, -12.5);  // no gravity, 22.5 pixels down
        p.s().BallsLeft = 5;
        for (int i = 0; i <= 3; ++i) p.s().TrailY[i] = c.y - 22.5;
        p.ticks(1);
        ASSERT_EQ(p.s().BallsLeft, c.lost ? 4 : 5) << c.y;
        EXPECT_EQ(p.f().Timer1.running(), !c.lost);
    }
}

}  // namespace
}  // namespace hopla
