// Assembly of the tile sheet from the six tile painters.
#include "tools/gen-assets/TileSheet.h"

#include "tools/gen-assets/TileColors.h"
#include "tools/gen-assets/Tiles.h"

namespace hopla::gen {

IndexedCanvas PaintTileSheet() {
    using Painter = void (*)(CellPainter&);
    static constexpr Painter kCells[] = {PaintWall,     PaintBreakable, PaintSpring,
                                         PaintLauncher, PaintEndSign,   PaintStartSign};
    IndexedCanvas canvas(6 * kTileSize, kTileSize, tile::kHole);
    int origin = 0;
    for (Painter paint : kCells) {
        CellPainter cell(canvas, origin, 0, kTileSize);
        paint(cell);
        origin += kTileSize;
    }
    return canvas;
}

}  // namespace hopla::gen
