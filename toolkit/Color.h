// Colours as the game sees them: 0x00RRGGBB values and the standard 16-colour palette.
#pragma once

#include <array>
#include <cstdint>

namespace hopla {

// A colour 0x00RRGGBB. Reading a pixel outside a picture gives kNoPixel (-1) instead.
using Color = std::int32_t;

inline constexpr Color kNoPixel = -1;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

constexpr Color Rgb(int r, int g, int b) {
    return (r << 16) | (g << 8) | b;
}
constexpr int RedOf(Color c) {
    return (c >> 16) & 0xFF;
}
constexpr int GreenOf(Color c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Color c) {
    return c & 0xFF;
}

// The standard 16-colour palette; an index outside 0..15 wraps into it (never done by the game).
inline constexpr std::array<Color, 16> kPalette = {
    Rgb(0, 0, 0),       Rgb(0, 0, 128),   Rgb(0, 128, 0),   Rgb(0, 128, 128),
    Rgb(128, 0, 0),     Rgb(128, 0, 128), Rgb(128, 128, 0), Rgb(192, 192, 192),
    Rgb(128, 128, 128), Rgb(0, 0, 255),   Rgb(0, 255, 0),   Rgb(0, 255, 255),
    Rgb(255, 0, 0),     Rgb(255, 0, 255), Rgb(255, 255, 0), Rgb(255, 255, 255)};

constexpr Color PaletteColor(int index) {
    return kPalette[static_cast<unsigned>(index) & 15u];
}

}  // namespace hopla
