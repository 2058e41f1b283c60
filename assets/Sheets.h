// The tile sheet and the ending sheet, built into the program as BMP file bytes.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/Image.h"

namespace hopla::assets {

// The raw BMP files (generated at build time from assets/tiles.bmp and assets/ending.bmp).
std::span<const std::uint8_t> tiles_bmp();
std::span<const std::uint8_t> ending_bmp();

// The decoded sheets. They are part of the program, so a sheet that does not decode is a
// broken build: the program stops with a message rather than run without its artwork.
Image TileSheet();    // 240 x 40: six 40 x 40 tile cells for tile codes 1..6
Image EndingSheet();  // 96 x 32: sky, ground and horizon cells of the ending landscape

}  // namespace hopla::assets
