// Keys and mouse buttons: drive and clamp, wall kick, Space, speed changes.
#include <gtest/gtest.h>

#include "play/Input.h"
#include "support/Playfield.h"

namespace hopla {
namespace {

using testing::Playfield;

void FreeBall(Playfield& p, float speedX) {
    p.load(6, {}, 300, 200);
    p.s().SpeedX = speedX;
}

TEST(KeyDown, EveryKeyPushesAndClampsToTen) {
    struct Case {
        float speedX;
        int key;
        float after;
    };
    for (const Case c : {Case{5, 39, 6.7F},
                         {5, 37, 3.3F},
                         {9.5F, 39, 10},
                         {-9, 37, -10},
                         {12, 65, 10},
                         {-12, 39, -10},
                         {14, 37, 10},
                         {0, 65, 0},
                         {-3, 32, -3}}) {
        Playfield p;
        FreeBall(p, c.speedX);
        if (c.key == 32) p.f().Timer1.setInterval(0);  // Space while Timer1 rests: any key
        p.sim.keyDown(c.key);
        EXPECT_FLOAT_EQ(p.s().SpeedX, c.after) << c.speedX << " key " << c.key;
        EXPECT_EQ(p.s().HeldKey, c.key);
        EXPECT_TRUE(p.sounds().empty());
    }
}

TEST(KeyUp, AnyReleaseClearsTheHeldKey) {
    Playfield p;
    FreeBall(p, 0);
    p.sim.keyDown(37);
    p.sim.keyDown(39);
    p.sim.keyUp(37);  // Right is still down
    EXPECT_EQ(p.s().HeldKey, 0);
    const float speedX = p.s().SpeedX;
    p.ticks(1);
    EXPECT_EQ(p.s().SpeedX, speedX);  // no drive from the tick
}

// A ball that hit a wall in this tick can be kicked off it with the arrow pointing away.
TEST(KeyDown, TheWallKickWorksOnlyBeforeTheNextTick) {
    struct Case {
        float wallHit;  // SpeedX at the contact
        int key;
        bool kicks;
        float speedX;  // after the kick and the key's push, clamped
    };
    for (const Case c :
         {Case{6, 37, true, -10}, {-6, 39, true, 10}, {6, 39, false, 0}, {-6, 37, false, 0}}) {
        Playfield p;
        FreeBall(p, -4.2F);
        GameState& s = p.s();
        s.WallHitSpeed = c.wallHit;
        s.SpeedY = -3;
        p.sim.keyDown(c.key);
        if (c.kicks) {
            EXPECT_EQ(s.SpeedX, c.speedX);
            EXPECT_EQ(s.SpeedY, 10);
            EXPECT_EQ(p.sounds(), std::vector<std::string>{"keri.wav"});
        } else {
            EXPECT_EQ(s.SpeedY, -3);
            EXPECT_TRUE(p.sounds().empty());
        }
    }
    // One tick later the contact is forgotten.
    Playfield p;
    FreeBall(p, -4.2F);
    p.s().WallHitSpeed = 6;
    p.ticks(1);
    p.sim.keyDown(37);
    EXPECT_NE(p.s().SpeedY, 10);
    EXPECT_TRUE(p.sounds().empty());
}

// A real contact: the ball flies right into a wall and is kicked back off it.
TEST(KeyDown, KickingOffAWallAfterARealContact) {
    Playfield p;
    std::string row(20, '0');
    row[10] = '1';
    p.load(6, {{6, row}, {7, row}, {8, row}}, 380, 300);
    GameState& s = p.s();
    s.SpeedX = 8;
    s.SpeedY = 1.5;
    p.ticks(1);
    ASSERT_EQ(s.WallHitSpeed, 8);
    p.sim.keyDown(37);
    EXPECT_EQ(s.SpeedX, -10);
    EXPECT_EQ(s.SpeedY, 10);
    EXPECT_EQ(p.sounds(), (std::vector<std::string>{"junp.wav", "keri.wav"}));
}

TEST(KeyDown, SpaceReturnsToTheTitleRoomOnlyWhileTimer1Runs) {
    Playfield p;
    FreeBall(p, 3);
    GameState& s = p.s();
    s.BallsLeft = 7;
    p.sim.keyDown(32);
    EXPECT_EQ(p.sounds(), (std::vector<std::string>{"stop", "next.wav"}));
    EXPECT_EQ(s.StageNo, kTitleStage);
    EXPECT_EQ(s.BallState, kBallToTitle);
    for (int r = 0; r < 15; ++r)
        for (int c = 0; c < 20; ++c) ASSERT_EQ(s.TileGrid[c][r], s.StageMap[21][r][c] - '0');
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(s.TrailX[i], s.StartX[21]);
        EXPECT_EQ(s.TrailY[i], s.StartY[21]);
    }
    EXPECT_EQ(s.SpeedX, 0);  // not pushed: BallState 3 ignores the key
    EXPECT_EQ(s.SpeedY, 0);
    EXPECT_EQ(s.BallColor, 0);
    EXPECT_EQ(s.HeldKey, 0);
    EXPECT_EQ(s.Tick, 0);
    EXPECT_EQ(p.f().Timer4.interval(), 5);
    EXPECT_FALSE(p.f().Timer1.running());

    // A second Space during the introduction is just a key.
    p.soundLog.clear();
    s.BallState = kBallInPlay;
    p.sim.keyDown(32);
    EXPECT_EQ(s.HeldKey, 32);
    EXPECT_TRUE(p.sounds().empty());
    EXPECT_EQ(p.f().Timer4.interval(), 5);
}

TEST(KeyDown, SpaceDoesNothingOnALauncherOrInFlight) {
    for (int state : {kBallCaught, kBallLaunched}) {
        Playfield p;
        FreeBall(p, 30);
        GameState& s = p.s();
        p.f().Timer1.setInterval(0);
        if (state == kBallLaunched) p.f().Timer3.setInterval(30);
        s.BallState = state;
        p.sim.keyDown(32);
        EXPECT_EQ(s.BallState, state);
        EXPECT_EQ(s.StageNo, 6);
        EXPECT_EQ(s.SpeedX, 30);
        EXPECT_TRUE(p.sounds().empty());
    }
}

TEST(KeyDown, ArrowsDoNothingWhileHeadingForTheTitleOrGameOver) {
    for (int state : {kBallToTitle, kBallGameOver}) {
        Playfield p;
        FreeBall(p, 2);
        p.f().Timer1.setInterval(0);
        p.s().BallState = state;
        p.sim.keyDown(39);
        EXPECT_EQ(p.s().SpeedX, 2);
        EXPECT_EQ(p.s().HeldKey, 0);
    }
}

TEST(MouseDown, ButtonsChangeTheSpeedInStepsOf15) {
    struct Case {
        int interval;
        int button;
        bool timer1;
        int after;
    };
    for (const Case c : {Case{30, 1, true, 15},
                         {15, 1, true, 15},
                         {30, 2, true, 45},
                         {45, 2, true, 60},
                         {65520, 2, true, 65535},
                         {65535, 2, true, 65535},
                         {65530, 2, true, 65530},
                         {30, 1, false, 30},
                         {30, 2, false, 30},
                         {30, 4, true, 30}}) {
        Playfield p;
        FreeBall(p, 0);
        GameState& s = p.s();
        s.BallInterval = c.interval;
        p.f().Timer1.setInterval(c.timer1 ? c.interval : 0);
        p.sim.mouseDown(c.button);
        EXPECT_EQ(s.BallInterval, c.after) << c.interval << " button " << c.button;
        const bool changed = c.after != c.interval;
        EXPECT_EQ(p.sounds(),
                  changed ? std::vector<std::string>{"keri.wav wait"} : std::vector<std::string>{})
            << c.interval << " button " << c.button;
        EXPECT_EQ(p.f().Timer1.interval(), c.timer1 ? c.after : 0);
    }
}

// The game stands still while keri.wav plays; the next ball tick counts from its end.
TEST(MouseDown, TheSpeedChangeWaitsForItsSound) {
    Playfield p;
    FreeBall(p, 0);
    p.f().Timer1.setInterval(30);
    std::vector<std::pair<double, std::string>> runs;
    const ObserverHandle watching = p.sim.game().observe(
        [&](std::string_view name) { runs.emplace_back(p.sim.nowMs(), std::string(name)); });
    const double pressed = p.sim.nowMs();
    p.sim.mouseDown(1);
    const double soundEnd = p.sim.nowMs();
    ASSERT_GT(soundEnd, pressed + 15);  // keri.wav lasts longer than a tick
    p.sim.keyDown(39);                  // pressed meanwhile: handled after the sound
    p.sim.runUntil(soundEnd + 15);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].second, "MouseDown");
    EXPECT_EQ(runs[1].second, "KeyDown");
    EXPECT_EQ(runs[2], (std::pair<double, std::string>{soundEnd + 15, "Timer1"}));
}

TEST(MouseDown, AfterTheEndingAnyPressClosesTheGame) {
    for (int button : {1, 2, 4}) {
        Playfield p;
        FreeBall(p, 0);
        p.s().EndPhase = 10;
        p.sim.mouseDown(button);
        EXPECT_TRUE(p.sim.game().ended());
        EXPECT_EQ(p.s().BallInterval, 30);  // the speed change never runs
        EXPECT_TRUE(p.sounds().empty());
    }
}

}  // namespace
}  // namespace hopla
