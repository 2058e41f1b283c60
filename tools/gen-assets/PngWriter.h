// Encodes straight-alpha RGBA pixels as a PNG file (the desktop icons).
#pragma once

#include <cstdint>
#include <vector>

namespace hopla::gen {

struct Rgba8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
};

// The file bytes: signature, IHDR (8-bit RGBA, no interlace), one zlib IDAT of unfiltered
// rows, IEND. pixels holds width * height entries, row by row from the top.
std::vector<std::uint8_t> EncodeRgbaPng(int width, int height, const std::vector<Rgba8>& pixels);

}  // namespace hopla::gen
