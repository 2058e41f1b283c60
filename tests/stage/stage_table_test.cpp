// The built-in stage table's shape and invariants, and loading rows into the grid.
#include <gtest/gtest.h>

#include "form/GameState.h"
#include "stage/StageTable.h"

namespace hopla {
namespace {

TEST(StageTable, TwentyTwoStagesOfFifteenRowsOfTwentyDigits) {
    int fives = 0, sixes = 0;
    for (int s = 0; s < kStageCount; ++s)
        for (int r = 0; r < kStageRowCount; ++r) {
            const std::string_view row = kStageRows[s][r];
            ASSERT_EQ(row.size(), 20u) << s << "/" << r;
            for (char c : row) {
                ASSERT_TRUE(c >= '0' && c <= '6') << s << "/" << r;
                if (c == '5') fives += s == kTitleStage ? 1 : 100;
                if (c == '6') sixes += s == kTitleStage ? 1 : 100;
            }
        }
    EXPECT_EQ(fives, 1);  // once each, both in the title stage
    EXPECT_EQ(sixes, 1);
}

TEST(StageTable, EveryMapIsClosedAboveAndLeftAndOpenRightAndBelow) {
    for (int s = 0; s < kStageCount; ++s) {
        const StageRows& rows = kStageRows[s];
        EXPECT_EQ(rows[0], "11111111111111111111") << s;
        bool exit = false;
        for (int r = 0; r < kStageRowCount; ++r) {
            EXPECT_EQ(rows[r][0], '1') << s << "/" << r;
            exit = exit || rows[r][19] == '0';
        }
        EXPECT_TRUE(exit) << s;
        EXPECT_NE(rows[14].find('0'), std::string_view::npos) << s;
    }
}

TEST(StageTable, EveryStartPointLiesInAnEmptyCellLeftOfTheExitLine) {
    for (int s = 0; s < kStageCount; ++s) {
        const int c = kStartX[s] / 40, r = kStartY[s] / 40;
        EXPECT_EQ(kStageRows[s][r][c], '0') << s;
        EXPECT_LE(kStartX[s], 700) << s;
    }
}

TEST(LoadStageGrid, ReadsDigitsAndTreatsMissingOrOtherCharactersAsEmpty) {
    GameState st;
    for (auto& column : st.TileGrid) column.fill(9);  // marks what the load must not touch
    st.StageMap[3][0] = "12345601";
    st.StageMap[3][1] = "x2 -7" + std::string(20, '3');  // longer than 20: the rest ignored
    LoadStageGrid(st, 3);
    EXPECT_EQ(st.TileGrid[0][0], 1);
    EXPECT_EQ(st.TileGrid[5][0], 6);
    EXPECT_EQ(st.TileGrid[7][0], 1);
    EXPECT_EQ(st.TileGrid[8][0], 0);  // past the end of a short row
    EXPECT_EQ(st.TileGrid[19][0], 0);
    EXPECT_EQ(st.TileGrid[0][1], 0);  // 'x'
    EXPECT_EQ(st.TileGrid[1][1], 2);
    EXPECT_EQ(st.TileGrid[2][1], 0);  // ' '
    EXPECT_EQ(st.TileGrid[3][1], 0);  // '-'
    EXPECT_EQ(st.TileGrid[4][1], 7);
    EXPECT_EQ(st.TileGrid[19][1], 3);
    EXPECT_EQ(st.TileGrid[0][14], 0);  // empty rows
    EXPECT_EQ(st.TileGrid[20][0], 9);  // columns 20..24 and rows 15..19 untouched
    EXPECT_EQ(st.TileGrid[0][15], 9);
    EXPECT_EQ(st.Tick, 15);
    EXPECT_EQ(st.LoopX, 20);
}

TEST(LoadStageGrid, TheTitleStageHasItsTwoSignsAndNoPlayableStageHasAny) {
    GameState st;
    for (int s = 0; s < kStageCount; ++s)
        for (int r = 0; r < kStageRowCount; ++r) st.StageMap[s][r] = std::string(kStageRows[s][r]);
    for (int s = 0; s < kStageCount; ++s) {
        LoadStageGrid(st, s);
        for (int c = 0; c < 20; ++c)
            for (int r = 0; r < 15; ++r) {
                const int code = st.TileGrid[c][r];
                if (s == kTitleStage && c == 2 && r == 6)
                    EXPECT_EQ(code, kEndSign);
                else if (s == kTitleStage && c == 17 && r == 6)
                    EXPECT_EQ(code, kStartSign);
                else
                    EXPECT_LE(code, kLauncher) << s << " " << c << "," << r;
            }
    }
}

}  // namespace
}  // namespace hopla
