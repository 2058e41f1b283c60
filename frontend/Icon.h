// The game's icon for its window, decoded from the PNG built into the executable. No SDL.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hopla {

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB, row by row from the top
};

// A PNG's pixels; none when the bytes are not a PNG libpng can read.
std::optional<IconPixels> DecodePng(std::span<const std::uint8_t> png);

// The window icon (assets/icons/hopla-64.png).
std::optional<IconPixels> WindowIcon();

}  // namespace hopla
