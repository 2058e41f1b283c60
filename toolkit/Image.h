// A plain image value: width, height and 0x00RRGGBB pixels, row by row from the top.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/Color.h"

namespace hopla {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height entries, row-major, top row first

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    // Caller keeps 0 <= x < width and 0 <= y < height.
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const Image&) const = default;
};

}  // namespace hopla
