// Painting of the ending landscape sheet.
#include "tools/gen-assets/EndingArt.h"

#include <array>

namespace hopla::gen {
namespace {

constexpr Rgb8 kSky{156, 230, 250};
constexpr Rgb8 kGround{40, 150, 50};
constexpr Rgb8 kGroundDark{26, 112, 36};
constexpr Rgb8 kGrass{118, 226, 78};
constexpr Rgb8 kGrassTip{188, 248, 138};
constexpr Rgb8 kGrassShade{72, 186, 60};

// Top row of the grass in each column of the horizon cell. The first and last columns
// match up so neighbouring cells join without a seam.
constexpr std::array<int, kEndingCellSize> kGrassTop = {13, 12, 12, 13, 14, 14, 13, 11, 10, 11, 13,
                                                        14, 15, 15, 14, 13, 13, 12, 11, 12, 13, 14,
                                                        14, 13, 12, 12, 13, 14, 15, 14, 14, 13};

}  // namespace

IndexedCanvas PaintEndingSheet() {
    const int s = kEndingCellSize;
    IndexedCanvas canvas(3 * s, s, kSky);
    CellPainter ground(canvas, s, 0, s);
    ground.Fill(kGround);

    CellPainter horizon(canvas, 2 * s, 0, s);
    const int middle = s / 2;
    for (int x = 0; x < s; ++x) {
        for (int y = 0; y < s; ++y) {
            const int top = kGrassTop[x];
            Rgb8 color = kGround;
            if (y < top)
                color = kSky;
            else if (y == top)
                color = kGrassTip;
            else if (y < middle)
                color = kGrass;
            else if (y == middle)
                color = kGrassShade;
            else if (y == middle + 1)
                color = (x % 3 == 1) ? kGrassShade : kGroundDark;
            else if (y == middle + 2 && x % 5 == 2)
                color = kGroundDark;
            horizon.Put(x, y, color);
        }
    }
    return canvas;
}

}  // namespace hopla::gen
