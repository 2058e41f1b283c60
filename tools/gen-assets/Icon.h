// The game's desktop icon: the white ball bouncing up off a spring tile on the black playfield.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hopla::gen {

struct Rgba8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
};

// The pixel sizes the icon is drawn at for the hicolor theme.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
// The sizes a web app's manifest asks for (the browser's install and home-screen icons).
inline constexpr int kWebIconSizes[] = {192, 512};

// The icon at size x size pixels, straight alpha, transparent outside the rounded playfield.
// Each pixel is the average of a grid of samples of the scene, so the tile's pixel art is
// scaled down smoothly at the small sizes.
std::vector<Rgba8> RenderIcon(int size);

// The icon at size x size pixels as a PNG file's bytes: RGBA, unfiltered, zlib level 9.
std::vector<std::uint8_t> IconPng(int size);

// The same scene as a scalable SVG document, the tile as one rectangle per run of a colour.
std::string IconSvg();

// The icons of the game's two kinds of file, for Windows' file types: a white page with a
// folded corner holding the game's own scene (a demo) or four of its tiles (a stage file).
enum class Document { Demo, Stages };
std::vector<Rgba8> RenderDocumentIcon(Document kind, int size);
std::vector<std::uint8_t> DocumentIconPng(Document kind, int size);

}  // namespace hopla::gen
