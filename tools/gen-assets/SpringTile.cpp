// The spring tile: a bevelled blue block with black cut corners and a coil spring on it.
#include <algorithm>
#include <cmath>

#include "tools/gen-assets/TileColors.h"
#include "tools/gen-assets/Tiles.h"

namespace hopla::gen {
namespace {

using namespace tile;

// The three pixels of each corner that the ball may pass through: the corner pixel and its
// two neighbours along the edges.
bool IsCutCorner(int x, int y) {
    const int last = kTileSize - 1;
    const int cx = x < kTileSize / 2 ? x : last - x;
    const int cy = y < kTileSize / 2 ? y : last - y;
    return cx + cy <= 1;
}

// The coil is a stack of flat rings seen from slightly above. Each ring is a half ellipse
// behind (in shadow) and a half ellipse in front (lit), joined at the ends.
constexpr int kCoilLeft = 8, kCoilRight = 31;
constexpr int kRingCentres[] = {11, 16, 21, 26};

int ArcDepth(int x) {
    const double halfWidth = (kCoilRight - kCoilLeft + 1) / 2.0;
    const double dx = (x + 0.5 - (kCoilLeft + halfWidth)) / halfWidth;
    return static_cast<int>(std::lround(3.0 * std::sqrt(std::max(0.0, 1.0 - dx * dx))));
}

void PaintCoil(CellPainter& cell) {
    for (int centre : kRingCentres)
        for (int x = kCoilLeft; x <= kCoilRight; ++x)
            cell.Put(x, centre - ArcDepth(x), kSpringDark);
    for (int centre : kRingCentres) {
        for (int x = kCoilLeft; x <= kCoilRight; ++x) {
            const int y = centre + ArcDepth(x);
            cell.Put(x, y, kCoil);
            cell.Put(x, y + 1, kSpringLight);
            cell.Put(x, y + 2, kSpringDark);
        }
        for (int y = centre - 1; y <= centre + 1; ++y) {
            cell.Put(kCoilLeft, y, kSpringLight);
            cell.Put(kCoilRight, y, kSpringDark);
        }
    }
}

void PaintPlate(CellPainter& cell, int top) {
    cell.FillRect(8, top, 31, top + 2, kSpring);
    cell.FillRect(8, top, 31, top, kCoil);
    cell.FillRect(8, top + 2, 31, top + 2, kSpringDark);
    cell.Put(8, top + 1, kSpringLight);
    cell.Put(31, top + 1, kSpringDark);
}

}  // namespace

void PaintSpring(CellPainter& cell) {
    const int last = kTileSize - 1;
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            if (IsCutCorner(x, y)) {
                cell.Put(x, y, kHole);
                continue;
            }
            const int litDepth = std::min(x, y);
            const int darkDepth = std::min(last - x, last - y);
            Rgb8 color = kSpring;
            if (litDepth < 2 && litDepth <= darkDepth)
                color = kSpringLight;
            else if (darkDepth < 2)
                color = kSpringDark;
            cell.Put(x, y, color);
        }
    }
    // The cut corners get their own bevel along the diagonal.
    cell.Put(2, 1, kSpringLight);
    cell.Put(1, 2, kSpringLight);
    cell.Put(last - 2, last - 1, kSpringDark);
    cell.Put(last - 1, last - 2, kSpringDark);

    PaintCoil(cell);
    PaintPlate(cell, 5);
    PaintPlate(cell, 32);
}

}  // namespace hopla::gen
