// The launcher tile: an orange stamp with a perforated edge on a near-black frame.
#include <algorithm>
#include <cmath>

#include "tools/gen-assets/Emboss.h"
#include "tools/gen-assets/TileColors.h"
#include "tools/gen-assets/Tiles.h"

namespace hopla::gen {
namespace {

using namespace tile;

constexpr int kBodyFirst = 3;
constexpr int kBodyLast = kTileSize - 1 - kBodyFirst;  // 36

// True where a perforation hole bites into the stamp: half discs centred on each edge of
// the body, spaced evenly and symmetric about the middle.
bool InPerforation(int x, int y) {
    constexpr double kRadius = 2.0;
    constexpr double kSpacing = 4.5;
    const double middle = kTileSize / 2.0;
    const double px = x + 0.5, py = y + 0.5;
    const double edges[2] = {static_cast<double>(kBodyFirst), kBodyLast + 1.0};
    for (int k = -3; k <= 3; ++k) {
        const double along = middle + k * kSpacing;
        for (double edge : edges) {
            if (std::hypot(px - edge, py - along) <= kRadius) return true;  // left, right
            if (std::hypot(px - along, py - edge) <= kRadius) return true;  // top, bottom
        }
    }
    return false;
}

// A double-headed arrow: the ball leaves the launcher to either side.
Mask DoubleArrow() {
    Mask mask(kTileSize);
    const double middle = 19.5;
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 9; x <= 30; ++x) {
            const double dy = std::abs(y + 0.5 - (middle + 0.5));
            const double fromTip = std::min(x - 9, 30 - x) + 0.5;
            const bool head = fromTip <= 7 && dy <= fromTip;
            const bool shaft = dy <= 1.5;
            if (head || shaft) mask.Set(x, y);
        }
    }
    return mask;
}

}  // namespace

void PaintLauncher(CellPainter& cell) {
    cell.Fill(kLauncherFrame);
    for (int y = kBodyFirst; y <= kBodyLast; ++y) {
        for (int x = kBodyFirst; x <= kBodyLast; ++x) {
            if (InPerforation(x, y)) continue;
            Rgb8 color = kOrange;
            const int litDepth = std::min(x - kBodyFirst, y - kBodyFirst);
            const int darkDepth = std::min(kBodyLast - x, kBodyLast - y);
            if (litDepth == 0 && litDepth <= darkDepth)
                color = kOrangeLight;
            else if (darkDepth == 0)
                color = kOrangeDark;
            cell.Put(x, y, color);
        }
    }
    // The printed border of the stamp, and a lighter field inside it.
    const int in = 8, out = kTileSize - 1 - in;
    for (int i = in; i <= out; ++i) {
        cell.Put(i, in, kOrangeDark);
        cell.Put(in, i, kOrangeDark);
        cell.Put(i, out, kOrangeDark);
        cell.Put(out, i, kOrangeDark);
    }
    cell.FillRect(in + 1, in + 1, out - 1, in + 1, kOrangeLight);
    cell.FillRect(in + 1, in + 1, in + 1, out - 1, kOrangeLight);
    PaintEmbossed(cell, DoubleArrow(), kOrangeDark, kOrangeShadow, kOrangeLight);
}

}  // namespace hopla::gen
