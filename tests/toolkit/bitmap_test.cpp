// Pixel rules of Bitmap: boxes, lines, points and copies at all four edges, and the change
// reports every write makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "support/BlockText.h"
#include "toolkit/Bitmap.h"

namespace hopla {
namespace {

constexpr Color kInk = 0x123456;

// The set of (x, y) holding `color`.
std::set<std::pair<int, int>> PixelsOf(const Bitmap& p, Color color) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.point(x, y) == color) out.insert({x, y});
    return out;
}

std::set<std::pair<int, int>> Box(int x1, int y1, int x2, int y2) {
    std::set<std::pair<int, int>> out;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) out.insert({x, y});
    return out;
}

struct BoxCase {
    const char* what;
    int pen;
    int x1, y1, x2, y2;      // corners as given
    int ex1, ey1, ex2, ey2;  // expected covered pixels, inclusive, after clipping
};

TEST(BitmapFillBox, CornersIncludedWidenedByPenAndClipped) {
    const BoxCase cases[] = {
        {"inside, pen 1", 1, 3, 4, 6, 8, 3, 4, 6, 8},
        {"corners in any order", 1, 6, 8, 3, 4, 3, 4, 6, 8},
        {"single pixel", 1, 5, 5, 5, 5, 5, 5, 5, 5},
        {"inside, pen 3 grows one each side", 3, 3, 4, 6, 8, 2, 3, 7, 9},
        {"pen 3 single point is 3x3", 3, 5, 5, 5, 5, 4, 4, 6, 6},
        {"clipped left", 3, -5, 2, 1, 4, 0, 1, 2, 5},
        {"clipped top", 1, 2, -9, 4, 0, 2, 0, 4, 0},
        {"clipped right", 3, 18, 3, 40, 5, 17, 2, 19, 6},
        {"clipped bottom", 1, 1, 13, 2, 99, 1, 13, 2, 14},
        {"whole bitmap and beyond", 3, -1, -1, 20, 15, 0, 0, 19, 14},
        {"pen 3 box just outside still reaches in", 3, -2, 0, -2, 0, -1, -1, -1, -1},
        {"pen 3 one pixel outside reaches the edge", 3, 20, 7, 20, 7, 19, 6, 19, 8},
    };
    for (const BoxCase& c : cases) {
        Bitmap p(20, 15);
        p.setPenWidth(c.pen);
        p.fillBox(c.x1, c.y1, c.x2, c.y2, kInk);
        const auto expected =
            c.ex1 < 0 ? std::set<std::pair<int, int>>{} : Box(c.ex1, c.ey1, c.ex2, c.ey2);
        EXPECT_EQ(PixelsOf(p, kInk), expected) << c.what;
    }
}

TEST(BitmapPoint, OutsideIsMinusOneAtEveryEdge) {
    Bitmap p(10, 8);
    p.fillBox(0, 0, 9, 7, kInk);
    struct Case {
        double x, y;
        Color expected;
    };
    const Case cases[] = {
        {0, 0, kInk},        {9, 7, kInk},       {-1, 3, kNoPixel}, {10, 3, kNoPixel},
        {4, -1, kNoPixel},   {4, 8, kNoPixel},   {-0.5, 3, kInk},   {9.5, 3, kNoPixel},
        {-0.6, 3, kNoPixel}, {4, 7.5, kNoPixel}, {4, 6.5, kInk},    {8.5, 3, kInk},
    };
    for (const Case& c : cases) EXPECT_EQ(p.point(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(BitmapPoint, RealCoordinatesRoundHalfToEven) {
    Bitmap p(10, 10);
    p.fillBox(2, 2, 2, 2, kInk);             // only (2, 2)
    EXPECT_EQ(p.point(2.5, 2.5), kInk);      // 2.5 -> 2
    EXPECT_EQ(p.point(1.5, 1.5), kInk);      // 1.5 -> 2
    EXPECT_EQ(p.point(3.5, 2), kBlack);      // 3.5 -> 4
    EXPECT_EQ(p.point(2.49, 2.51), kBlack);  // (2, 3)
}

TEST(BitmapLine, PenOneIsBresenhamWithBothEnds) {
    Bitmap p(10, 10);
    // Each pixel is the ideal line's nearest: y = 1 + (x - 1) / 3.
    const std::set<std::pair<int, int>> expected{{1, 1}, {2, 1}, {3, 2}, {4, 2},
                                                 {5, 2}, {6, 3}, {7, 3}};
    p.line(1, 1, 7, 3, kInk);
    EXPECT_EQ(PixelsOf(p, kInk), expected);
    Bitmap q(10, 10);
    q.line(7, 3, 1, 1, kInk);  // the other way round
    EXPECT_EQ(PixelsOf(q, kInk), expected);
}

TEST(BitmapLine, PenThreeStampsSquaresAroundEachPixel) {
    Bitmap p(12, 12);
    p.setPenWidth(3);
    p.line(3, 5, 6, 5, kInk);  // horizontal: a 3-row band one pixel past each end
    EXPECT_EQ(PixelsOf(p, kInk), Box(2, 4, 7, 6));

    Bitmap q(12, 12);
    q.setPenWidth(3);
    q.line(4.5, 4.5, 4.5, 4.5, kInk);  // a point rounds to (4, 4): a 3x3 square
    EXPECT_EQ(PixelsOf(q, kInk), Box(3, 3, 5, 5));
}

TEST(BitmapLine, ClippedAtAllFourEdges) {
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        std::set<std::pair<int, int>> expected;
    };
    const Case cases[] = {
        {"left", -3, 2, 1, 2, Box(0, 1, 2, 3)},
        {"right", 8, 2, 12, 2, Box(7, 1, 9, 3)},
        {"top", 4, -5, 4, 0, Box(3, 0, 5, 1)},
        {"bottom", 4, 9, 4, 30, Box(3, 8, 5, 9)},
        {"entirely outside", -10, -10, -4, -4, {}},
        {"far outside does not hang", -1e9, 5, 1e9, 5, Box(0, 4, 9, 6)},
    };
    for (const Case& c : cases) {
        Bitmap p(10, 10);
        p.setPenWidth(3);
        p.line(c.x1, c.y1, c.x2, c.y2, kInk);
        EXPECT_EQ(PixelsOf(p, kInk), c.expected) << c.what;
    }
}

// A bitmap whose pixel (x, y) holds a value naming its position.
void Number(Bitmap& p) {
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) p.row(y)[x] = 0x10000 + y * 256 + x;
}

TEST(BitmapCopy, ClipsAgainstSourceAndDestinationMovingTheOtherSide) {
    struct Case {
        const char* what;
        int dx, dy, w, h, sx, sy;
    };
    const Case cases[] = {
        {"inside", 2, 3, 4, 5, 1, 1},
        {"source off left", 2, 2, 5, 3, -2, 1},
        {"source off top", 2, 2, 3, 5, 1, -3},
        {"source off right", 0, 0, 8, 2, 6, 0},
        {"source off bottom", 0, 0, 2, 9, 0, 4},
        {"destination off left", -3, 1, 6, 3, 0, 0},
        {"destination off top", 1, -2, 3, 6, 0, 0},
        {"destination off right", 9, 1, 6, 3, 0, 0},
        {"destination off bottom", 1, 7, 3, 6, 0, 0},
        {"larger than both", -5, -5, 100, 100, -7, -2},
        {"empty", 1, 1, 0, 4, 0, 0},
        {"nowhere near", 50, 50, 4, 4, 0, 0},
    };
    for (const Case& c : cases) {
        Bitmap src(8, 6), dst(12, 9, kInk);
        Number(src);
        Bitmap::Copy(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
        // Every destination pixel is either untouched or the source pixel the offset names.
        for (int y = 0; y < dst.height(); ++y)
            for (int x = 0; x < dst.width(); ++x) {
                const int sx = x - c.dx + c.sx, sy = y - c.dy + c.sy;
                const bool inRequest = x >= c.dx && x < c.dx + c.w && y >= c.dy && y < c.dy + c.h;
                const bool inSource = sx >= 0 && sx < src.width() && sy >= 0 && sy < src.height();
                const Color expected = inRequest && inSource ? src.point(sx, sy) : kInk;
                ASSERT_EQ(dst.point(x, y), expected) << c.what << " at " << x << "," << y;
            }
    }
}

TEST(BitmapCopy, OverlappingCopyWithinOneBitmapKeepsTheSource) {
    Bitmap p(6, 6), reference(6, 6);
    Number(p);
    Number(reference);
    Bitmap::Copy(p, 1, 1, 4, 4, p, 0, 0);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) EXPECT_EQ(p.point(x, y), reference.point(x - 1, y - 1));
}

TEST(BitmapClear, UsesBackgroundPictureElseBackColour) {
    Bitmap p(4, 3, kBlack);
    p.fillBox(0, 0, 3, 2, kInk);
    p.setBackColor(0x00FF00);  // setting the back colour clears
    EXPECT_EQ(PixelsOf(p, 0x00FF00).size(), 12u);

    auto bg = std::make_shared<Image>(2, 2, 0x0000FF);  // smaller than the bitmap
    p.setBackgroundPicture(bg);
    EXPECT_EQ(p.point(1, 1), 0x0000FF);
    EXPECT_EQ(p.point(3, 2), 0x00FF00);  // the rest in the back colour
    p.fillBox(0, 0, 3, 2, kInk);
    p.clear();
    EXPECT_EQ(p.point(0, 0), 0x0000FF);
    p.setBackgroundPicture(nullptr);
    EXPECT_EQ(p.point(0, 0), 0x00FF00);
}

// A numbered bitmap noting every area it is told of before a write.
class Watched final : public Bitmap {
  public:
    Watched() : Bitmap(12, 10) {
        Number(*this);
        reported.clear();
    }
    std::vector<Rect> reported;

  private:
    void changing(const Rect& c) override { reported.push_back(c); }
};

// Picture keeps its screen update and whole copies by these reports: a pixel written outside
// them would be left stale on the screen or in a copy.
TEST(BitmapChanging, EveryPixelWrittenLiesInAReportedArea) {
    testing::BlockText text;
    Bitmap other(12, 10, kInk);
    struct Case {
        const char* what;
        std::function<void(Bitmap&)> write;
    };
    const Case cases[] = {
        {"pen 3 box over an edge",
         [](Bitmap& b) {
             b.setPenWidth(3);
             b.fillBox(-1, 2, 3, 4, kInk);
         }},
        {"rect",
         [](Bitmap& b) {
             b.fillRect({2, 3, 5, 9}, kInk);
         }},
        {"pen 3 line leaving the bitmap",
         [](Bitmap& b) {
             b.setPenWidth(3);
             b.line(9, 1, 14, 8.5, kInk);
         }},
        {"print",
         [&](Bitmap& b) {
             b.setTextRenderer(&text);
             b.setCurrentX(4);
             b.print("abc");
         }},
        {"background smaller than the bitmap",
         [](Bitmap& b) { b.setBackgroundPicture(std::make_shared<Image>(5, 4, kInk)); }},
        {"back colour", [](Bitmap& b) { b.setBackColor(kInk); }},
        {"copy from another", [&](Bitmap& b) { Bitmap::Copy(b, 3, 2, 20, 3, other, 0, 0); }},
        {"overlapping copy", [](Bitmap& b) { Bitmap::Copy(b, 2, 3, 6, 6, b, 0, 0); }},
        {"drawn into the image",
         [](Bitmap& b) {
             b.imageToDrawIn({1, 1, 3, 3}).at(2, 2) = kInk;
         }},
    };
    for (const Case& c : cases) {
        Watched b;
        const Image before = b.image();
        c.write(b);
        EXPECT_NE(b.image(), before) << c.what << ": wrote nothing";
        for (const Rect& r : b.reported)
            EXPECT_TRUE(!r.empty() && r.intersect(b.bounds()) == r) << c.what;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                if (b.image().at(x, y) != before.at(x, y)) {
                    EXPECT_TRUE(std::any_of(b.reported.begin(), b.reported.end(),
                                            [&](const Rect& r) { return r.contains(x, y); }))
                        << c.what << " at " << x << "," << y;
                }
    }
}

}  // namespace
}  // namespace hopla
