// The back buffer from the grid, tile copies from the sheet, and the frames ScreenOn presents.
#include <gtest/gtest.h>

#include "stage/Render.h"
#include "support/Playfield.h"

namespace hopla {
namespace {

using testing::AllOf;
using testing::CellShows;
using testing::Playfield;
using testing::SameImage;

void ClearGrid(GameState& s) {
    for (auto& column : s.TileGrid) column.fill(0);
}

TEST(MakeScreen, AnEmptyGridGivesABlackBackAndNoBallAtAStageStart) {
    Playfield p;
    Picture& back = p.f().Back;
    back.fillRect(back.bounds(), Rgb(90, 60, 30));  // the stage before
    ClearGrid(p.s());
    p.s().BallColor = 15;  // even a visible ball is not seen on a single point
    MakeScreen(p.f(), p.s());
    EXPECT_TRUE(AllOf(back, 0, 0, 800, 600, kBlack));
    EXPECT_TRUE(AllOf(p.f().Display, 0, 0, 800, 600, kBlack));
    EXPECT_EQ(p.s().Tick, 15);
    EXPECT_EQ(p.s().LoopX, 3);
}

TEST(MakeScreen, EveryTileCodeShowsItsSheetCell) {
    Playfield p;
    ClearGrid(p.s());
    for (int code = 1; code <= 6; ++code) p.s().TileGrid[3 * code][2 + code] = code;
    MakeScreen(p.f(), p.s());
    for (int code = 1; code <= 6; ++code) {
        EXPECT_TRUE(CellShows(p.f().Back, 3 * code, 2 + code, p.f().Chip, code - 1)) << code;
        EXPECT_TRUE(CellShows(p.f().Display, 3 * code, 2 + code, p.f().Chip, code - 1)) << code;
    }
    // Nothing outside the six cells.
    int coloured = 0;
    for (std::uint32_t px : p.f().Back.image().pixels) coloured += px != kBlack;
    int inSheet = 0;
    for (int code = 1; code <= 6; ++code)
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                inSheet += p.f().Chip.point(40 * (code - 1) + x, y) != kBlack;
    EXPECT_EQ(coloured, inSheet);
}

TEST(MakeScreen, CellsEmptiedSinceTheLastStageComeOutBlack) {
    Playfield p;
    GameState& s = p.s();
    for (auto& column : s.TileGrid) column.fill(kWall);
    MakeScreen(p.f(), s);
    ASSERT_TRUE(CellShows(p.f().Back, 7, 7, p.f().Chip, 0));
    s.TileGrid[7][7] = kEmpty;
    s.TileGrid[0][14] = kEmpty;
    MakeScreen(p.f(), s);
    EXPECT_TRUE(AllOf(p.f().Back, 280, 280, 320, 320, kBlack));
    EXPECT_TRUE(AllOf(p.f().Back, 0, 560, 40, 600, kBlack));
    EXPECT_TRUE(CellShows(p.f().Back, 8, 7, p.f().Chip, 0));
}

TEST(PutChip, CodesWithoutASheetCellDrawNothing) {
    Playfield p;
    Picture& back = p.f().Back;
    back.fillRect(back.bounds(), kBlack);
    for (int code = 7; code <= 9; ++code) PutChip(p.f(), 4, 4, code);
    EXPECT_TRUE(AllOf(back, 0, 0, 800, 600, kBlack));
}

TEST(ScreenOn, AdvancesTheBallAndShowsItsTwoNewestSegments) {
    Playfield p;
    GameState& s = p.s();
    ClearGrid(s);
    MakeScreen(p.f(), s);
    for (int i = 0; i <= 3; ++i) {
        s.TrailX[i] = 400 - 10 * i;
        s.TrailY[i] = 300;
    }
    s.SpeedX = 10;
    s.SpeedY = 2;  // upwards: 1.5 x 2 = 3 pixels
    s.BallColor = 15;
    ScreenOn(p.f(), s);
    EXPECT_DOUBLE_EQ(s.TrailX[0], 410);
    EXPECT_DOUBLE_EQ(s.TrailY[0], 297);
    EXPECT_DOUBLE_EQ(s.TrailX[3], 380);
    const Picture& d = p.f().Display;
    EXPECT_EQ(d.point(410, 297), kWhite);  // newest point
    EXPECT_EQ(d.point(395, 300), kWhite);  // between points 2 and 1
    EXPECT_EQ(d.point(380, 300), kBlack);  // the oldest end is blacked out
    EXPECT_TRUE(SameImage(d, p.f().Dark));
    EXPECT_EQ(s.LoopX, 3);

    // A second call moves it a second step.
    ScreenOn(p.f(), s);
    EXPECT_DOUBLE_EQ(s.TrailX[0], 420);
    EXPECT_DOUBLE_EQ(s.TrailY[0], 294);
    EXPECT_EQ(d.point(420, 294), kWhite);
}

TEST(ScreenOn, AHiddenBallLeavesTheFrameEqualToBack) {
    Playfield p;
    p.load(3, {{12, "11111111111111111111"}}, 200, 200);
    GameState& s = p.s();
    s.SpeedX = 7;
    s.SpeedY = -3;
    s.BallColor = 0;
    ScreenOn(p.f(), s);
    EXPECT_TRUE(SameImage(p.f().Display, p.f().Back));
}

// The count Timer5 inherits from the introduction decides when the stage appears.
TEST(Timer5, LoadsOnTheTickThatBringsTickToSeven) {
    struct Case {
        int tickAtStart;
        double loadedAt;  // ms after the hand-over
    };
    for (const Case c : {Case{1, 1800}, Case{5, 600}, Case{6, 300}}) {
        Playfield p;
        GameState& s = p.s();
        s.StageNo = 4;
        s.BallColor = 0;
        s.SpeedX = 3;
        s.SpeedY = -5;
        ClearGrid(s);
        s.Tick = c.tickAtStart;
        p.f().Timer5.setInterval(300);
        const double start = p.sim.nowMs();
        p.sim.runUntil(start + c.loadedAt - 1);
        EXPECT_FALSE(p.f().Timer1.running()) << c.tickAtStart;
        EXPECT_EQ(s.TileGrid[0][0], 0);
        p.sim.runUntil(start + c.loadedAt);
        EXPECT_EQ(p.f().Timer1.interval(), s.BallInterval) << c.tickAtStart;
        EXPECT_FALSE(p.f().Timer5.running());
        EXPECT_EQ(s.Tick, 15);  // left by the drawing loop
        EXPECT_EQ(s.BallColor, 15);
        EXPECT_EQ(s.SpeedX, 0);
        EXPECT_EQ(s.SpeedY, 0);
        for (int r = 0; r < 15; ++r)
            for (int col = 0; col < 20; ++col)
                ASSERT_EQ(s.TileGrid[col][r], s.StageMap[4][r][col] - '0');
        EXPECT_TRUE(SameImage(p.f().Display, p.f().Dark));  // presented
    }
}

TEST(Timer5, StartedAtSevenOrAboveNeverLoads) {
    Playfield p;
    p.s().Tick = 7;
    p.f().Timer5.setInterval(300);
    p.sim.runFor(300 * 20);
    EXPECT_TRUE(p.f().Timer5.running());
    EXPECT_FALSE(p.f().Timer1.running());
}

}  // namespace
}  // namespace hopla
