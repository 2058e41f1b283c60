// Tests of the BMP decoder on small hand-built files, good and broken.
#include "toolkit/Bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace hopla {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The fields of a BMP file that the tests vary; rows are given as stored, padding included.
struct BmpFile {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint16_t planes = 1;
    std::uint32_t compression = 0;
    std::uint32_t infoSize = 40;
    std::uint32_t colorsUsed = 0;        // written as is
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written as B, G, R, 0
    Bytes rows;
    std::int64_t pixelOffsetShift = 0;  // moves the recorded pixel offset
};

void Put(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes Build(const BmpFile& f) {
    const std::uint32_t offset = 14 + f.infoSize + 4 * static_cast<std::uint32_t>(f.palette.size());
    Bytes out = {'B', 'M'};
    Put(out, offset + static_cast<std::uint32_t>(f.rows.size()), 4);
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(offset + f.pixelOffsetShift), 4);
    Put(out, f.infoSize, 4);
    Put(out, static_cast<std::uint32_t>(f.width), 4);
    Put(out, static_cast<std::uint32_t>(f.height), 4);
    Put(out, f.planes, 2);
    Put(out, f.bitsPerPixel, 2);
    Put(out, f.compression, 4);
    Put(out, static_cast<std::uint32_t>(f.rows.size()), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, f.colorsUsed, 4);
    Put(out, 0, 4);
    out.resize(14 + f.infoSize, 0);  // the rest of a longer info header
    for (std::uint32_t c : f.palette) Put(out, c & 0xFFFFFF, 4);  // little-endian: B, G, R, 0
    out.insert(out.end(), f.rows.begin(), f.rows.end());
    return out;
}

std::vector<std::uint32_t> Pixels(const std::optional<Image>& image) {
    return image ? image->pixels : std::vector<std::uint32_t>{};
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
constexpr std::uint32_t kGrey = 0x808080, kTeal = 0x108090;

// A 2 x 2 picture at 24 bits per pixel: top row red, green; bottom row blue, grey.
// Each stored row is 6 bytes of pixels and 2 of padding.
BmpFile TwoByTwo24(bool topDown) {
    const Bytes top = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    const Bytes bottom = {0xFF, 0, 0, 0x80, 0x80, 0x80, 0, 0};
    BmpFile f;
    f.width = 2;
    f.height = topDown ? -2 : 2;
    f.rows = topDown ? top : bottom;
    const Bytes& second = topDown ? bottom : top;
    f.rows.insert(f.rows.end(), second.begin(), second.end());
    return f;
}

TEST(DecodeBmp, TrueColourRowsInEitherOrder) {
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        const std::optional<Image> image = DecodeBmp(Build(TwoByTwo24(topDown)));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 2);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(Pixels(image), (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kGrey}));
    }
}

TEST(DecodeBmp, ThirtyTwoBitsIgnoresTheFourthByte) {
    BmpFile f;
    f.width = 2;
    f.bitsPerPixel = 32;
    f.rows = {0x90, 0x80, 0x10, 0xFF, 0xFF, 0, 0, 0x7F};
    EXPECT_EQ(Pixels(DecodeBmp(Build(f))), (std::vector<std::uint32_t>{kTeal, kBlue}));
}

TEST(DecodeBmp, PalettisedDepthsUnpackLeftmostPixelFromHighBits) {
    struct Case {
        const char* name;
        std::uint16_t bits;
        std::int32_t width;
        std::uint32_t colorsUsed;
        Bytes row;  // one stored row, padded to 4 bytes
        std::vector<std::uint32_t> expected;
    };
    const std::vector<std::uint32_t> palette = {kRed, kGreen, kBlue};
    const std::vector<Case> cases = {
        {"8 bpp", 8, 3, 3, {2, 0, 1, 0}, {kBlue, kRed, kGreen}},
        {"4 bpp", 4, 3, 3, {0x21, 0x00, 0, 0}, {kBlue, kGreen, kRed}},
        {"1 bpp",
         1,
         10,
         2,
         {0b10110000, 0b01000000, 0, 0},
         {kGreen, kRed, kGreen, kGreen, kRed, kRed, kRed, kRed, kRed, kGreen}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFile f;
        f.width = c.width;
        f.bitsPerPixel = c.bits;
        f.colorsUsed = c.colorsUsed;
        f.palette.assign(palette.begin(), palette.begin() + c.colorsUsed);
        f.rows = c.row;
        EXPECT_EQ(Pixels(DecodeBmp(Build(f))), c.expected);
    }
}

TEST(DecodeBmp, PaletteSizeZeroMeansFullPalette) {
    BmpFile f;
    f.width = 2;
    f.bitsPerPixel = 1;
    f.palette = {kTeal, kGrey};
    f.rows = {0b01000000, 0, 0, 0};
    EXPECT_EQ(Pixels(DecodeBmp(Build(f))), (std::vector<std::uint32_t>{kTeal, kGrey}));
}

TEST(DecodeBmp, LongerInfoHeaderPutsThePaletteAfterIt) {
    BmpFile f;
    f.infoSize = 124;
    f.bitsPerPixel = 8;
    f.colorsUsed = 2;
    f.palette = {kGrey, kTeal};
    f.rows = {1, 0, 0, 0};
    EXPECT_EQ(Pixels(DecodeBmp(Build(f))), (std::vector<std::uint32_t>{kTeal}));
}

TEST(DecodeBmp, EveryTruncationIsRejected) {
    BmpFile palettised;
    palettised.width = 3;
    palettised.height = 2;
    palettised.bitsPerPixel = 4;
    palettised.colorsUsed = 2;
    palettised.palette = {kRed, kBlue};
    palettised.rows = {0x01, 0x10, 0, 0, 0x10, 0x01, 0, 0};
    for (const Bytes& whole : {Build(TwoByTwo24(false)), Build(palettised)}) {
        ASSERT_TRUE(DecodeBmp(whole));
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(DecodeBmp(cut)) << "accepted the first " << length << " bytes";
        }
    }
}

TEST(DecodeBmp, MalformedHeadersAreRejected) {
    struct Case {
        const char* name;
        void (*spoil)(BmpFile&);
    };
    const Case cases[] = {
        {"zero width", [](BmpFile& f) { f.width = 0; }},
        {"negative width", [](BmpFile& f) { f.width = -2; }},
        {"zero height", [](BmpFile& f) { f.height = 0; }},
        {"most negative height", [](BmpFile& f) { f.height = INT32_MIN; }},
        {"two planes", [](BmpFile& f) { f.planes = 2; }},
        {"16 bits per pixel", [](BmpFile& f) { f.bitsPerPixel = 16; }},
        {"run-length compression", [](BmpFile& f) { f.compression = 1; }},
        {"core header", [](BmpFile& f) { f.infoSize = 12; }},
        {"pixel offset past the end", [](BmpFile& f) { f.pixelOffsetShift = 100; }},
        {"pixel offset inside the header", [](BmpFile& f) { f.pixelOffsetShift = -8; }},
        {"huge width", [](BmpFile& f) { f.width = INT32_MAX; }},
        {"huge height", [](BmpFile& f) { f.height = INT32_MAX; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFile f = TwoByTwo24(false);
        f.bitsPerPixel = 8;  // 2 x 2 at 8 bpp also fits in the 8-byte stored rows
        f.colorsUsed = 2;
        f.palette = {kRed, kGreen};
        f.rows = {0, 1, 0, 0, 1, 0, 0, 0};
        ASSERT_TRUE(DecodeBmp(Build(f)));
        c.spoil(f);
        EXPECT_FALSE(DecodeBmp(Build(f)));
    }
}

TEST(DecodeBmp, CorruptedFieldsAreRejected) {
    BmpFile f;
    f.bitsPerPixel = 8;
    f.colorsUsed = 2;
    f.palette = {kRed, kGreen};
    f.rows = {1, 0, 0, 0};
    Bytes good = Build(f);
    ASSERT_TRUE(DecodeBmp(good));

    Bytes magic = good;
    magic[1] = 'A';
    EXPECT_FALSE(DecodeBmp(magic)) << "magic";

    Bytes longInfo = good;
    longInfo[15] = 0x10;  // info header size 4136, longer than the file
    EXPECT_FALSE(DecodeBmp(longInfo)) << "info header past the end";

    f.rows = {2, 0, 0, 0};  // index beyond the two palette entries
    EXPECT_FALSE(DecodeBmp(Build(f))) << "index beyond palette";

    BmpFile crowded;
    crowded.bitsPerPixel = 1;
    crowded.colorsUsed = 3;  // more entries than one bit can address
    crowded.palette = {kRed, kGreen, kBlue};
    crowded.rows = {0, 0, 0, 0};
    EXPECT_FALSE(DecodeBmp(Build(crowded))) << "palette larger than the depth allows";
}

}  // namespace
}  // namespace hopla
