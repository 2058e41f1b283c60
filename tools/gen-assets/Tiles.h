// Painters of the six 40 x 40 cells of the tile sheet, one per tile code 1..6.
#pragma once

#include "tools/gen-assets/IndexedCanvas.h"

namespace hopla::gen {

inline constexpr int kTileSize = 40;

void PaintWall(CellPainter& cell);       // red-orange glass in a riveted dark frame
void PaintBreakable(CellPainter& cell);  // cracked grey-brown stone in a riveted dark frame
void PaintSpring(CellPainter& cell);     // blue block with black cut corners and a coil
void PaintLauncher(CellPainter& cell);   // orange stamp with perforated edge on a dark frame
void PaintEndSign(CellPainter& cell);    // "End" over a down arrow, green on black
void PaintStartSign(CellPainter& cell);  // "Start" over a right arrow, orange on black

}  // namespace hopla::gen
