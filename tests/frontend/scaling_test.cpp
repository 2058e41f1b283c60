// Whole-number scaling: the scale that fits, the picture's place, and the copy that turns every
// pixel into an exact N x N block.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "frontend/Scaling.h"

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
    EXPECT_EQ(CentredLayout(800, 600, 800, 600), (Layout{1, 0, 0}));
    EXPECT_EQ(CentredLayout(2400, 1800, 800, 600), (Layout{3, 0, 0}));
    EXPECT_EQ(CentredLayout(1920, 1080, 800, 600), (Layout{1, 560, 240}));
    EXPECT_EQ(CentredLayout(2560, 1440, 800, 600), (Layout{2, 480, 120}));
    EXPECT_EQ(CentredLayout(3840, 2160, 800, 600), (Layout{3, 720, 180}));
    EXPECT_EQ(CentredLayout(640, 480, 800, 600), (Layout{1, -80, -60}));
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
