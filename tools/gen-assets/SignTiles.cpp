// The two sign tiles of the title room: lettering over an arrow, on black so the ball
// passes between the strokes.
#include <cmath>

#include "tools/gen-assets/Emboss.h"
#include "tools/gen-assets/PixelFont.h"
#include "tools/gen-assets/TileColors.h"
#include "tools/gen-assets/Tiles.h"

namespace hopla::gen {
namespace {

using namespace tile;

constexpr int kTextTop = 3;

void StampCentredText(Mask& mask, const char* text) {
    // The drop shadow adds a column on the right, so centre text and shadow together.
    const int width = TextWidth(text) + 1;
    StampText(mask, (kTileSize - width) / 2, kTextTop, text);
}

}  // namespace

void PaintEndSign(CellPainter& cell) {
    cell.Fill(kHole);
    Mask mask(kTileSize);
    StampCentredText(mask, "End");
    // Arrow pointing down into the shaft below the sign.
    for (int y = 15; y <= 36; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            const double dx = std::abs(x + 0.5 - 19.5);
            const bool shaft = y <= 25 && dx <= 3.0;
            const bool head = y >= 24 && dx <= 36.5 - y - 0.0 && dx <= 10.5;
            if (shaft || head) mask.Set(x, y);
        }
    }
    PaintEmbossed(cell, mask, kGreen, kGreenLight, kGreenShadow);
}

void PaintStartSign(CellPainter& cell) {
    cell.Fill(kHole);
    Mask mask(kTileSize);
    StampCentredText(mask, "Start");
    // Arrow pointing right, at the opening beside the sign.
    for (int y = 14; y <= 37; ++y) {
        for (int x = 3; x <= 35; ++x) {
            const double dy = std::abs(y + 0.5 - 25.5);
            const bool shaft = x <= 22 && dy <= 3.0;
            const bool head = x >= 21 && dy <= (35.5 - x) * 0.75;
            if (shaft || head) mask.Set(x, y);
        }
    }
    PaintEmbossed(cell, mask, kOrange, kOrangeLight, kOrangeShadow);
}

}  // namespace hopla::gen
