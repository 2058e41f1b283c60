// Tests of the built-in artwork sheets: file format, layout and the colour rule that makes
// the tile pictures work as collision shapes.
#include "assets/Sheets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "toolkit/Color.h"

namespace hopla::assets {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kLauncherFrame = 0x0A000A;  // (10, 0, 10)
constexpr int kTile = 40;
constexpr int kSpringCell = 2, kLauncherCell = 3, kEndCell = 4, kStartCell = 5;

std::uint32_t Le(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

struct SheetHeader {
    std::int32_t width, height;
    std::uint32_t infoSize, bitsPerPixel, compression, colorsUsed;
};

SheetHeader ReadHeader(std::span<const std::uint8_t> b) {
    EXPECT_GE(b.size(), 54u);
    if (b.size() < 54) return {};
    return {static_cast<std::int32_t>(Le(b, 18, 4)),
            static_cast<std::int32_t>(Le(b, 22, 4)),
            Le(b, 14, 4),
            Le(b, 28, 2),
            Le(b, 30, 4),
            Le(b, 46, 4)};
}

TEST(Sheets, FileHeaders) {
    const SheetHeader tiles = ReadHeader(tiles_bmp());
    EXPECT_EQ(tiles.width, 240);
    EXPECT_EQ(tiles.height, 40);
    EXPECT_EQ(tiles.infoSize, 40u);
    EXPECT_EQ(tiles.bitsPerPixel, 8u);
    EXPECT_EQ(tiles.compression, 0u);
    EXPECT_GE(tiles.colorsUsed, 1u);
    EXPECT_LE(tiles.colorsUsed, 26u);

    const SheetHeader ending = ReadHeader(ending_bmp());
    EXPECT_EQ(ending.width, 96);
    EXPECT_EQ(ending.height, 32);
    EXPECT_EQ(ending.infoSize, 40u);
    EXPECT_EQ(ending.bitsPerPixel, 4u);
    EXPECT_EQ(ending.compression, 0u);
    EXPECT_EQ(ending.colorsUsed, 6u);
}

std::set<std::uint32_t> ColoursIn(const Image& image, int x0, int y0, int w, int h) {
    std::set<std::uint32_t> colours;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) colours.insert(image.at(x, y));
    return colours;
}

// The spring's cut corners: each corner pixel and its two neighbours along the edges.
bool IsSpringCorner(int x, int y) {
    const int cx = x < kTile / 2 ? x : kTile - 1 - x;
    const int cy = y < kTile / 2 ? y : kTile - 1 - y;
    return cx + cy <= 1;
}

TEST(TileSheet, SizeAndNoWhite) {
    const Image sheet = TileSheet();
    ASSERT_EQ(sheet.width, 240);
    ASSERT_EQ(sheet.height, 40);
    const auto colours = ColoursIn(sheet, 0, 0, sheet.width, sheet.height);
    EXPECT_EQ(colours.count(kWhite), 0u) << "white is the ball's colour and would be a hole";
    EXPECT_LE(colours.size(), 26u);
}

TEST(TileSheet, BlocksAreSolidExceptTheSpringCorners) {
    const Image sheet = TileSheet();
    ASSERT_EQ(sheet.width, 240);
    for (int cell = 0; cell <= kLauncherCell; ++cell) {
        for (int y = 0; y < kTile; ++y) {
            for (int x = 0; x < kTile; ++x) {
                const bool hole = cell == kSpringCell && IsSpringCorner(x, y);
                const bool black = sheet.at(cell * kTile + x, y) == kBlack;
                EXPECT_EQ(black, hole) << "cell " << cell << " at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST(TileSheet, LauncherHasItsFrameColourAllRound) {
    const Image sheet = TileSheet();
    ASSERT_EQ(sheet.width, 240);
    const int left = kLauncherCell * kTile, last = kTile - 1;
    for (int i = 0; i < kTile; ++i) {
        EXPECT_EQ(sheet.at(left + i, 0), kLauncherFrame) << "top " << i;
        EXPECT_EQ(sheet.at(left + i, last), kLauncherFrame) << "bottom " << i;
        EXPECT_EQ(sheet.at(left, i), kLauncherFrame) << "left " << i;
        EXPECT_EQ(sheet.at(left + last, i), kLauncherFrame) << "right " << i;
    }
}

TEST(TileSheet, SignsAreColouredInkOnBlack) {
    struct Sign {
        int cell;
        bool (*hue)(Color);  // the ink's hue family
        const char* name;
    };
    const Sign signs[] = {
        {kEndCell, [](Color c) { return GreenOf(c) > RedOf(c) && GreenOf(c) > BlueOf(c); },
         "End (green)"},
        {kStartCell, [](Color c) { return RedOf(c) > GreenOf(c) && GreenOf(c) > BlueOf(c); },
         "Start (orange)"},
    };
    const Image sheet = TileSheet();
    ASSERT_EQ(sheet.width, 240);
    for (const Sign& sign : signs) {
        SCOPED_TRACE(sign.name);
        const int left = sign.cell * kTile;
        int black = 0, ink = 0, upperInk = 0, lowerInk = 0;
        for (int y = 0; y < kTile; ++y) {
            for (int x = 0; x < kTile; ++x) {
                const std::uint32_t c = sheet.at(left + x, y);
                if (c == kBlack) {
                    ++black;
                    continue;
                }
                ++ink;
                (y < kTile / 3 ? upperInk : lowerInk) += 1;
                EXPECT_TRUE(sign.hue(static_cast<Color>(c))) << "(" << x << ", " << y << ")";
            }
        }
        // Mostly open so the ball passes between the strokes, with lettering in the upper
        // part and an arrow below it.
        EXPECT_GT(black, kTile * kTile / 2);
        EXPECT_GT(upperInk, 60);
        EXPECT_GT(lowerInk, 150);
        for (int corner : {0, kTile - 1}) {
            EXPECT_EQ(sheet.at(left + corner, 0), kBlack);
            EXPECT_EQ(sheet.at(left + corner, kTile - 1), kBlack);
        }
    }
}

constexpr int kEndCellSize = 32;

TEST(EndingSheet, PlainSkyAndGroundCells) {
    const Image sheet = EndingSheet();
    ASSERT_EQ(sheet.width, 96);
    ASSERT_EQ(sheet.height, 32);
    const auto sky = ColoursIn(sheet, 0, 0, kEndCellSize, kEndCellSize);
    const auto ground = ColoursIn(sheet, kEndCellSize, 0, kEndCellSize, kEndCellSize);
    ASSERT_EQ(sky.size(), 1u);
    ASSERT_EQ(ground.size(), 1u);
    const Color skyColour = static_cast<Color>(*sky.begin());
    const Color groundColour = static_cast<Color>(*ground.begin());
    EXPECT_GT(BlueOf(skyColour), RedOf(skyColour)) << "light cyan";
    EXPECT_GT(GreenOf(skyColour), RedOf(skyColour)) << "light cyan";
    EXPECT_GT(RedOf(skyColour) + GreenOf(skyColour) + BlueOf(skyColour), 450) << "light";
    EXPECT_GT(GreenOf(groundColour), RedOf(groundColour) + 50) << "green";
    EXPECT_GT(GreenOf(groundColour), BlueOf(groundColour) + 50) << "green";
    EXPECT_EQ(ColoursIn(sheet, 0, 0, 96, 32).count(kWhite), 0u);
}

TEST(EndingSheet, HorizonCellJoinsSkyAboveAndGroundBelow) {
    const Image sheet = EndingSheet();
    ASSERT_EQ(sheet.width, 96);
    const int left = 2 * kEndCellSize, last = kEndCellSize - 1;
    const std::uint32_t sky = sheet.at(0, 0), ground = sheet.at(kEndCellSize, 0);
    std::vector<int> grassTops;
    for (int x = 0; x < kEndCellSize; ++x) {
        EXPECT_EQ(sheet.at(left + x, 0), sky) << "column " << x;
        EXPECT_EQ(sheet.at(left + x, last), ground) << "column " << x;
        int y = 0;
        while (y < kEndCellSize && sheet.at(left + x, y) == sky) ++y;
        EXPECT_GE(y, kEndCellSize / 4) << "sky fills the upper half, column " << x;
        EXPECT_LE(y, kEndCellSize / 2) << "ground fills the lower half, column " << x;
        grassTops.push_back(y);
        const Color grass = static_cast<Color>(sheet.at(left + x, y + 1));
        EXPECT_GT(GreenOf(grass), GreenOf(static_cast<Color>(ground))) << "light green grass";
    }
    EXPECT_GE(std::set<int>(grassTops.begin(), grassTops.end()).size(), 3u)
        << "the grass line is uneven";
    // Side by side the horizon cells join without a step in the grass line.
    EXPECT_LE(std::abs(grassTops.front() - grassTops.back()), 1);
}

}  // namespace
}  // namespace hopla::assets
