// The game's desktop icon: the white ball bouncing up off a spring tile on the black playfield.
#pragma once

#include <string>
#include <vector>

#include "tools/gen-assets/PngWriter.h"

namespace hopla::gen {

// The pixel sizes the icon is drawn at for the hicolor theme.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon at size x size pixels, straight alpha, transparent outside the rounded playfield.
// Each pixel is the average of a grid of samples of the scene, so the tile's pixel art is
// scaled down smoothly at the small sizes.
std::vector<Rgba8> RenderIcon(int size);

// The same scene as a scalable SVG document, the tile as one rectangle per run of a colour.
std::string IconSvg();

}  // namespace hopla::gen
