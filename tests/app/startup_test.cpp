// Start-up: the record's first values, the shuffled orders, the sound directory, Timer2 armed.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/StartUp.h"
#include "headless/SimCore.h"
#include "shell/GameFiles.h"

namespace hopla {
namespace {

TEST(StartUp, TheRecordRightAfterStartUp) {
    SimCore sim(7, HOPLA_BUILD_DIR, WaveFileLength);
    const GameState& s = sim.state();
    EXPECT_EQ(s.StageNo, 21);
    EXPECT_EQ(s.BallsLeft, 1);
    EXPECT_EQ(s.BallInterval, 30);
    EXPECT_EQ(s.BallColor, 15);
    EXPECT_EQ(s.SpeedX, 0.0f);
    EXPECT_EQ(s.SpeedY, 0.0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.TrailX[i], 420);
        EXPECT_EQ(s.TrailY[i], 320);
    }
    EXPECT_TRUE(std::all_of(s.StageTime.begin(), s.StageTime.end(), [](auto v) { return v == 0; }));
    EXPECT_EQ(s.Score, 0);
    EXPECT_EQ(s.ScoreCode, "");
    EXPECT_EQ(s.KeyDirection[37], -1);
    EXPECT_EQ(s.KeyDirection[39], 1);
    EXPECT_EQ(std::count(s.KeyDirection.begin(), s.KeyDirection.end(), 0), 254);
    EXPECT_EQ(s.TypingSteps[0][4], "Ｈｏｐｌａ");
    EXPECT_EQ(s.TypingSteps[1][2], "Game O");
    EXPECT_EQ(s.TypingSteps[0][5], "");
    EXPECT_EQ(s.TypingSteps[2][0], "");
    EXPECT_EQ(s.TileGrid[2][6], kEndSign);
    EXPECT_EQ(s.TileGrid[17][6], kStartSign);
}

TEST(StartUp, OnlyTimer2RunsAndTheWindowIsBlackWithHiddenLabels) {
    SimCore sim(7, HOPLA_BUILD_DIR, WaveFileLength);
    Form1& f = sim.form();
    EXPECT_EQ(f.Timer2.interval(), 2000);
    for (const Timer* t : {&f.Timer1, &f.Timer3, &f.Timer4, &f.Timer5, &f.Timer6, &f.Etimer})
        EXPECT_EQ(t->interval(), 0) << t->name();
    EXPECT_FALSE(f.Label1.visible());
    EXPECT_FALSE(f.Label2.visible());
    EXPECT_EQ(f.Display.penWidth(), 3);
    EXPECT_EQ(f.Dark.penWidth(), 3);
    EXPECT_EQ(f.Back.penWidth(), 1);
    const auto& px = f.Display.image().pixels;
    EXPECT_TRUE(std::all_of(px.begin(), px.end(), [](auto p) { return p == 0; }));
    sim.runUntil(1999);
    EXPECT_TRUE(std::all_of(px.begin(), px.end(), [](auto p) { return p == 0; }));
}

TEST(StartUp, BandOrderIsAPermutationOfTheBands) {
    for (std::uint32_t seed : {1u, 2u, 99u}) {
        SimCore sim(seed, HOPLA_BUILD_DIR, WaveFileLength);
        const auto& b = sim.state().BandOrder;
        std::multiset<int> bands(b.begin(), b.begin() + 41);
        std::multiset<int> expected;
        for (int i = 0; i <= 40; ++i) expected.insert(15 * i);
        EXPECT_EQ(bands, expected) << seed;
        EXPECT_TRUE(std::all_of(b.begin() + 41, b.end(), [](auto v) { return v == 0; }));
    }
}

TEST(StartUp, CellOrderVisitsEveryCellOnce) {
    for (std::uint32_t seed : {1u, 2u, 99u}) {
        SimCore sim(seed, HOPLA_BUILD_DIR, WaveFileLength);
        const GameState& s = sim.state();
        std::set<std::pair<int, int>> cells;
        for (int i = 0; i <= 24; ++i)
            for (int t = 0; t <= 18; ++t) {
                const int c = s.CellOrderX[i][t], r = s.CellOrderY[i][t];
                EXPECT_TRUE(c >= 0 && c <= 24 && r >= 0 && r <= 18);
                cells.insert({c, r});
            }
        EXPECT_EQ(cells.size(), 475u) << seed;
    }
}

TEST(StartUp, TwoSeedsGiveDifferentOrders) {
    SimCore a(1, HOPLA_BUILD_DIR, WaveFileLength), b(2, HOPLA_BUILD_DIR, WaveFileLength);
    EXPECT_NE(a.state().BandOrder, b.state().BandOrder);
    EXPECT_NE(a.state().CellOrderX, b.state().CellOrderX);
    SimCore again(1, HOPLA_BUILD_DIR, WaveFileLength);
    EXPECT_EQ(a.state().BandOrder, again.state().BandOrder);
}

TEST(StartUp, SoundDirEndsInOneSlash) {
    EXPECT_EQ(SoundDirFrom("/opt/hopla"), "/opt/hopla/");
    EXPECT_EQ(SoundDirFrom("/opt/hopla/"), "/opt/hopla/");
    EXPECT_EQ(SoundDirFrom("/"), "/");
    EXPECT_EQ(SoundDirFrom("C:\\Games\\Hopla\\"), "C:\\Games\\Hopla\\");
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    EXPECT_EQ(sim.state().SoundDir, std::string(HOPLA_BUILD_DIR) + "/");
}

}  // namespace
}  // namespace hopla
