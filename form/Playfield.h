// The playfield's fixed measures: the window, its grid of square tile cells, the exit line.
#pragma once

namespace hopla {

inline constexpr int kScreenWidth = 800;  // borderless: the window's outer size is the picture
inline constexpr int kScreenHeight = 600;
inline constexpr int kTileSize = 40;      // one cell of TileGrid, in pixels
inline constexpr double kExitLine = 750;  // a ball right of this has left the stage
inline constexpr double kLossLine = 552;  // a ball below this has fallen out of the stage

}  // namespace hopla
