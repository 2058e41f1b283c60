// Scaling: the scale that fits, the picture's place in both modes, where a press lands, the copy
// that turns every pixel into an exact N x N block, and the sharp fit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "shell/Scaling.h"

namespace hopla {
namespace {

TEST(Scaling, TheLargestScaleThatFits) {
    const struct {
        int w, h, max, scale;
    } cases[] = {
        {1920, 1040, 8, 1},    // 1080p less a panel
        {2560, 1400, 8, 2},    // 1440p less a panel
        {3840, 2120, 8, 3},    // 4K less a panel
        {1600, 1200, 8, 2},    // exactly twice
        {1599, 1200, 8, 1},    // a pixel short
        {640, 480, 8, 1},      // smaller than the picture: still 1
        {16000, 12000, 8, 8},  // capped
    };
    for (const auto& c : cases)
        EXPECT_EQ(LargestScale(c.w, c.h, 800, 600, c.max), c.scale) << c.w << "x" << c.h;
}

TEST(Scaling, TheWholeScreenCentresThePictureOnBars) {
    const struct {
        ScalingMode mode;
        int w, h;
        Layout layout;
    } cases[] = {
        {ScalingMode::Integer, 800, 600, {1, 0, 0, 800, 600}},
        {ScalingMode::Integer, 2400, 1800, {3, 0, 0, 2400, 1800}},
        {ScalingMode::Integer, 1920, 1080, {1, 560, 240, 800, 600}},
        {ScalingMode::Integer, 2560, 1440, {2, 480, 120, 1600, 1200}},
        {ScalingMode::Integer, 3840, 2160, {3, 720, 180, 2400, 1800}},
        {ScalingMode::Integer, 640, 480, {1, -80, -60, 800, 600}},
        // Fit: the largest 4:3 area, bars on two sides only; whole multiples stay blocks.
        {ScalingMode::Fit, 1920, 1080, {2, 240, 0, 1440, 1080}},
        {ScalingMode::Fit, 2560, 1440, {3, 320, 0, 1920, 1440}},
        {ScalingMode::Fit, 3840, 2160, {4, 480, 0, 2880, 2160}},
        {ScalingMode::Fit, 1280, 1024, {2, 0, 32, 1280, 960}},
        {ScalingMode::Fit, 1600, 1200, {2, 0, 0, 1600, 1200}},
        {ScalingMode::Fit, 2400, 1900, {3, 0, 50, 2400, 1800}},
        {ScalingMode::Fit, 640, 480, {1, -80, -60, 800, 600}},  // never reduced
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayoutFor(c.mode, c.w, c.h, 800, 600), c.layout) << c.w << "x" << c.h;
}

TEST(Scaling, APressMapsToThePicturePixelUnderIt) {
    const Layout fit{2, 240, 0, 1440, 1080}, blocks{3, 720, 180, 2400, 1800};
    const struct {
        Layout layout;
        int x, y;
        std::optional<PicturePoint> at;
    } cases[] = {
        {fit, 239, 500, std::nullopt},
        {fit, 240, 0, PicturePoint{0, 0}},
        {fit, 1679, 1079, PicturePoint{799, 599}},
        {fit, 1680, 10, std::nullopt},
        {fit, 960, 540, PicturePoint{400, 300}},
        {blocks, 722, 185, PicturePoint{0, 1}},
        {blocks, 3119, 1979, PicturePoint{799, 599}},
        {blocks, 3120, 1000, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<PicturePoint> at = PictureAt(c.layout, 800, 600, c.x, c.y);
        ASSERT_EQ(at.has_value(), c.at.has_value()) << c.x << "," << c.y;
        if (at) {
            EXPECT_EQ(std::pair(at->x, at->y), std::pair(c.at->x, c.at->y)) << c.x << "," << c.y;
        }
    }
}

// The fit is the picture's average over each output pixel: a flat picture stays flat, every
// output pixel lies between the picture pixels it covers, each picture pixel weighs its share,
// and redrawing only the output of a changed area gives what a whole redraw gives.
TEST(Scaling, TheFitAveragesThePictureOverEachOutputPixel) {
    const int w = 40, h = 30;
    for (const auto& [outW, outH] : {std::pair{72, 54}, std::pair{100, 75}, std::pair{41, 31}}) {
        std::vector<std::uint32_t> src(static_cast<std::size_t>(w * h));
        for (std::size_t i = 0; i < src.size(); ++i) src[i] = (i * 2654435761u) & 0xFFFFFF;
        const FitScaler fit(w, h, outW, outH);
        std::vector<std::uint32_t> whole(static_cast<std::size_t>(outW * outH));
        fit.scale(src.data(), w, {0, 0, outW, outH}, whole.data(), outW);
        // Each channel of an output pixel lies within the channels of the 2 x 2 pixels it covers.
        for (int y = 0; y < outH; ++y)
            for (int x = 0; x < outW; ++x) {
                const int sx = x * w / outW, sy = y * h / outH;
                for (int shift : {0, 8, 16}) {
                    int lo = 255, hi = 0;
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx) {
                            const int v = static_cast<int>(
                                src[std::min(sy + dy, h - 1) * w + std::min(sx + dx, w - 1)] >>
                                    shift &
                                0xFF);
                            lo = std::min(lo, v);
                            hi = std::max(hi, v);
                        }
                    const int v = static_cast<int>(whole[y * outW + x] >> shift & 0xFF);
                    ASSERT_GE(v, lo) << x << "," << y;
                    ASSERT_LE(v, hi) << x << "," << y;
                }
            }
        // A changed picture pixel redrawn through outputOf matches a whole redraw.
        std::vector<std::uint32_t> part = whole;
        src[13 * w + 17] = 0xFFFFFF;
        const Rect out = fit.outputOf(Rect::Sized(17, 13, 1, 1));
        fit.scale(src.data(), w, out, part.data(), outW);
        fit.scale(src.data(), w, {0, 0, outW, outH}, whole.data(), outW);
        EXPECT_EQ(part, whole) << outW << "x" << outH;
    }
    // A flat picture and its weight: one white pixel's output sums to its share of the area.
    std::vector<std::uint32_t> dot(static_cast<std::size_t>(w * h), 0);
    dot[10 * w + 10] = 0x0000FF;
    const FitScaler fit(w, h, 72, 54);
    std::vector<std::uint32_t> out(72 * 54, 0x123456);
    fit.scale(dot.data(), w, {0, 0, 72, 54}, out.data(), 72);
    int sum = 0;
    for (const std::uint32_t p : out) sum += static_cast<int>(p & 0xFF);
    // 1.8 x 1.8 output pixels of 255, less the rounding of the blends.
    EXPECT_NEAR(sum, 255 * 1.8 * 1.8, 255 * 0.1);
}

// Every pixel of the enlarged image is its source pixel, at every scale and pixel size.
TEST(Scaling, EveryPixelBecomesAnExactBlock) {
    const int w = 7, h = 5;
    for (int bpp = 1; bpp <= 4; ++bpp)
        for (int scale = 1; scale <= 8; ++scale) {
            std::vector<std::uint8_t> src(static_cast<std::size_t>(w * h * bpp));
            for (std::size_t i = 0; i < src.size(); ++i)
                src[i] = static_cast<std::uint8_t>(i * 37 + 11);
            const std::size_t dstPitch =
                static_cast<std::size_t>(w * scale * bpp + 16);  // padded rows
            std::vector<std::uint8_t> dst(dstPitch * h * scale + 1, 0xEE);
            ScaleBlock(src.data(), static_cast<std::size_t>(w * bpp), w, h, bpp, scale, dst.data(),
                       dstPitch);
            for (int y = 0; y < h * scale; ++y)
                for (int x = 0; x < w * scale; ++x)
                    ASSERT_EQ(std::memcmp(&dst[y * dstPitch + x * bpp],
                                          &src[((y / scale) * w + x / scale) * bpp], bpp),
                              0)
                        << "bpp " << bpp << " scale " << scale << " at " << x << "," << y;
            // The padding past each row and the byte past the end are untouched.
            for (int y = 0; y < h * scale; ++y)
                EXPECT_EQ(dst[y * dstPitch + w * scale * bpp], 0xEE);
            EXPECT_EQ(dst.back(), 0xEE);
        }
}

}  // namespace
}  // namespace hopla
