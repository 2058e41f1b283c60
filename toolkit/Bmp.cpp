// BMP decoding: header validation, palette lookup and row unpacking.
#include "toolkit/Bmp.h"

#include <limits>
#include <vector>

namespace hopla {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // the smallest info header we read
constexpr std::uint32_t kUncompressed = 0;

// Little-endian reads; callers check the offsets against the size first.
std::uint32_t U16(std::span<const std::uint8_t> d, std::size_t at) {
    return d[at] | (static_cast<std::uint32_t>(d[at + 1]) << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return U16(d, at) | (U16(d, at + 2) << 16);
}

std::int32_t S32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(U32(d, at));
}

// Palette index of pixel x in a packed row of 1, 4 or 8 bits per pixel, leftmost pixel in
// the most significant bits.
unsigned IndexAt(const std::uint8_t* row, std::uint32_t x, unsigned bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 1u;
        case 4:
            return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15u;
        default:
            return row[x];
    }
}

}  // namespace

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> data) {
    const std::uint64_t size = data.size();
    if (size < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
    if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const std::uint64_t pixelOffset = U32(data, 10);
    const std::uint64_t infoSize = U32(data, 14);
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > size) return std::nullopt;
    if (pixelOffset > size) return std::nullopt;

    const std::int32_t width = S32(data, 18);
    const std::int32_t rawHeight = S32(data, 22);
    const unsigned planes = U16(data, 26);
    const unsigned bitsPerPixel = U16(data, 28);
    const std::uint32_t compression = U32(data, 30);
    const std::uint32_t colorsUsed = U32(data, 46);
    if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    if (planes != 1 || compression != kUncompressed) return std::nullopt;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 &&
        bitsPerPixel != 32)
        return std::nullopt;
    const bool topDown = rawHeight < 0;
    const std::uint32_t height = topDown ? -static_cast<std::uint32_t>(rawHeight) : rawHeight;

    // The palette follows the info header and ends before the pixel rows.
    std::vector<std::uint32_t> palette;
    const std::uint64_t paletteStart = kFileHeaderSize + infoSize;
    if (bitsPerPixel <= 8) {
        const std::uint64_t maxEntries = 1u << bitsPerPixel;
        const std::uint64_t entries = colorsUsed == 0 ? maxEntries : colorsUsed;
        if (entries > maxEntries) return std::nullopt;
        if (paletteStart + entries * 4 > pixelOffset) return std::nullopt;
        for (std::uint64_t i = 0; i < entries; ++i) {
            const std::size_t at = paletteStart + i * 4;
            palette.push_back(
                static_cast<std::uint32_t>(Rgb(data[at + 2], data[at + 1], data[at])));
        }
    } else if (paletteStart > pixelOffset) {
        return std::nullopt;
    }

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    if (height > (size - pixelOffset) / stride) return std::nullopt;

    Image image(width, static_cast<int>(height));
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t stored = topDown ? y : height - 1 - y;
        const std::uint8_t* row = data.data() + pixelOffset + stored * stride;
        for (std::uint32_t x = 0; x < static_cast<std::uint32_t>(width); ++x) {
            std::uint32_t pixel;
            if (bitsPerPixel <= 8) {
                const unsigned index = IndexAt(row, x, bitsPerPixel);
                if (index >= palette.size()) return std::nullopt;
                pixel = palette[index];
            } else {
                const std::uint8_t* p = row + x * (bitsPerPixel / 8);
                pixel = static_cast<std::uint32_t>(Rgb(p[2], p[1], p[0]));
            }
            image.at(static_cast<int>(x), static_cast<int>(y)) = pixel;
        }
    }
    return image;
}

}  // namespace hopla
