// The one PNG writer of the tools (libpng): hopla-sim's shots and gen-assets' icons.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace hopla {

// 8-bit samples, row by row from the top, with no gaps: width * height * channels bytes.
struct PngPixels {
    int width = 0;
    int height = 0;
    int channels = 3;  // 3: RGB; 4: RGBA with straight alpha
    const std::uint8_t* samples = nullptr;
};

// How the image stream is packed. The defaults are libpng's (adaptive filters, zlib's default
// level); gen-assets packs its icons unfiltered at level 9, small and always the same bytes.
struct PngPacking {
    bool unfiltered = false;
    int level = -1;  // zlib's 0..9, -1 its default
};

// Writes the PNG to an open file; what went wrong (libpng's words), or empty. The caller
// flushes and closes the file. Called by hopla-sim's `shot`.
std::string WritePngTo(std::FILE* file, const PngPixels& pixels, const PngPacking& packing = {});

// The PNG's bytes, with the whole image stream in one IDAT chunk; throws std::runtime_error
// with libpng's words when it cannot encode. Called by gen-assets for each icon.
std::vector<std::uint8_t> EncodePng(const PngPixels& pixels, const PngPacking& packing = {});

}  // namespace hopla
