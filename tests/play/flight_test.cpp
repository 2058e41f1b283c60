// Launching out of a launcher, the straight flight under Timer3, its wall, exit and brake.
#include <gtest/gtest.h>

#include "play/Flight.h"
#include "support/Playfield.h"

namespace hopla {
namespace {

using testing::Playfield;

// The ball caught on a launcher at column `column` of row 8, with `row8` as that row.
void CaughtOn(Playfield& p, int column, std::string row8) {
    row8[column] = '4';
    p.load(4, {{8, row8}}, 40 * column + 20, 150);
    const int n = p.tickUntil(40, [&] { return p.s().BallState == kBallCaught; });
    ASSERT_GT(n, 0);
    p.soundLog.clear();
}

// Runs Timer3 ticks while it runs, at most n; returns how many ran.
int Fly(Playfield& p, int n) {
    int ran = 0;
    while (ran < n && p.f().Timer3.running()) {
        Timer3_Timer(p.f(), p.s());
        ++ran;
    }
    return ran;
}

TEST(Launch, TheArrowsShootTheBallFromTheLauncherEdge) {
    for (int key : {37, 39}) {
        Playfield p;
        CaughtOn(p, 8, std::string(20, '0'));
        GameState& s = p.s();
        s.BallInterval = 45;
        p.sim.keyDown(key);
        const int direction = key == 39 ? 1 : -1;
        EXPECT_EQ(p.sounds(), std::vector<std::string>{"jump.wav"});
        EXPECT_EQ(s.BallState, kBallLaunched);
        EXPECT_EQ(s.SpeedX, 30 * direction);
        EXPECT_EQ(s.SpeedY, 0);
        for (int i = 0; i <= 3; ++i) {
            EXPECT_EQ(s.TrailX[i], 340 + 20 * direction);
            EXPECT_EQ(s.TrailY[i], 340);
        }
        EXPECT_EQ(p.f().Timer3.interval(), 45);
        EXPECT_FALSE(p.f().Timer1.running());
        EXPECT_EQ(s.BallColor, 15);
    }
}

// A flight at 30 meets a wall: a fifth of the speed, turned round at 0.7, pushed 15 pixels.
TEST(Flight, AWallEndsTheFlightAtFourPointTwoTheOtherWay) {
    struct Case {
        int key;
        int launcher;
        int wall;
        double push;
    };
    for (const Case c : {Case{39, 5, 10, -15}, {37, 14, 9, 15}}) {
        Playfield p;
        std::string row(20, '0');
        row[c.wall] = '1';
        CaughtOn(p, c.launcher, row);
        GameState& s = p.s();
        p.sim.keyDown(c.key);
        p.soundLog.clear();
        double before = s.TrailX[0];
        while (p.f().Timer3.running() && Fly(p, 1) == 1 && s.BallState == kBallLaunched) {
            EXPECT_EQ(s.TrailY[0], 340);  // straight: no gravity
            before = s.TrailX[0];
        }
        ASSERT_EQ(s.BallState, kBallInPlay);
        const double contact = before + (c.key == 39 ? 30 : -30);
        EXPECT_EQ(s.WallHitSpeed, c.key == 39 ? 6 : -6);
        EXPECT_EQ(s.SpeedX, c.key == 39 ? -4.2F : 4.2F);
        EXPECT_EQ(s.TrailX[1], contact + c.push);
        EXPECT_EQ(s.TrailX[0], contact + c.push + s.SpeedX);  // ScreenOn's step
        EXPECT_EQ(s.SpeedY, 0);
        EXPECT_FALSE(p.f().Timer3.running());
        EXPECT_EQ(p.f().Timer1.interval(), s.BallInterval);
        EXPECT_EQ(p.sounds(), std::vector<std::string>{"junp.wav"});
        EXPECT_EQ(s.BallColor, 15);
    }
}

TEST(Flight, AFlightToTheLeftEndsAtTheWindowEdge) {
    Playfield p;
    CaughtOn(p, 2, std::string(20, '0'));
    GameState& s = p.s();
    p.sim.keyDown(37);  // from x 80: 50, then 20 with the probe at -10
    EXPECT_EQ(Fly(p, 10), 2);
    EXPECT_EQ(s.ProbeColor, kNoPixel);
    EXPECT_EQ(s.WallHitSpeed, -6);
    EXPECT_EQ(s.TrailX[1], 35);
}

TEST(Flight, TheExitLineLeadsToTheNextStage) {
    Playfield p;
    CaughtOn(p, 15, std::string(20, '0'));
    GameState& s = p.s();
    p.sim.keyDown(39);  // from x 640: 670, 700, 730, 760
    p.soundLog.clear();
    EXPECT_EQ(Fly(p, 10), 4);
    EXPECT_EQ(s.StageNo, 5);
    EXPECT_EQ(s.BallState, kBallInPlay);
    EXPECT_FALSE(p.f().Timer3.running());
    EXPECT_FALSE(p.f().Timer1.running());
    EXPECT_TRUE(p.f().Timer4.running());
    EXPECT_EQ(p.sounds(), std::vector<std::string>{"next.wav"});
}

TEST(Flight, TheOppositeArrowBrakesAndTheSameArrowDoesNothing) {
    for (int key : {37, 39}) {
        Playfield p;
        CaughtOn(p, 9, std::string(20, '0'));
        GameState& s = p.s();
        const int against = key == 39 ? 37 : 39;
        p.sim.keyDown(key);
        Fly(p, 1);
        p.soundLog.clear();
        p.sim.keyDown(key);  // the held key repeating
        EXPECT_EQ(s.BallState, kBallLaunched);
        EXPECT_TRUE(p.sounds().empty());
        p.sim.keyDown(against);
        EXPECT_EQ(p.sounds(), std::vector<std::string>{"hijump.wav"});
        EXPECT_EQ(s.SpeedX, key == 39 ? 12 : -12);
        EXPECT_EQ(s.BallState, kBallInPlay);
        EXPECT_FALSE(p.f().Timer3.running());
        EXPECT_EQ(p.f().Timer1.interval(), s.BallInterval);
        // Normal motion at 12, above the drive window; a key press clamps it to 10.
        p.ticks(1);
        EXPECT_EQ(s.SpeedX, key == 39 ? 12 : -12);
        p.sim.keyDown(65);
        EXPECT_EQ(s.SpeedX, key == 39 ? 10 : -10);
    }
}

// Through the scheduler: flight ticks at BallInterval, the wall, then Timer1 takes over.
TEST(Flight, RunsOnTimer3UntilTimer1TakesOver) {
    Playfield p;
    std::string row(20, '0');
    row[12] = '1';
    CaughtOn(p, 5, row);
    GameState& s = p.s();
    std::vector<std::string> handlers;
    const ObserverHandle watching =
        p.sim.game().observe([&](std::string_view name) { handlers.emplace_back(name); });
    p.sim.keyDown(39);
    p.sim.runFor(30 * 8);
    // 240 -> 270 ... 450 with the probe at 480: seven flight ticks, then the ball falls.
    const std::vector<std::string> want{"KeyDown", "Timer3", "Timer3", "Timer3", "Timer3",
                                        "Timer3",  "Timer3", "Timer3", "Timer1"};
    EXPECT_EQ(handlers, want);
    EXPECT_LT(s.SpeedY, 0);
}

}  // namespace
}  // namespace hopla
