// Whole-number scaling of the game's picture: where it sits in a window and the copy that makes
// each game pixel an N x N block. No SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "toolkit/Rect.h"

namespace hopla {

// The picture's place in a window: scaled by `scale`, its top-left corner at (x, y). In a
// window of the picture's own scaled size x and y are 0; on a whole screen they centre it.
struct Layout {
    int scale = 1;
    int x = 0;
    int y = 0;
    bool operator==(const Layout&) const = default;
};

// The largest whole scale at which a picture of w x h fits an area of areaW x areaH, at least 1
// and at most maxScale.
int LargestScale(int areaW, int areaH, int w, int h, int maxScale);

// The largest whole scale that fits the window, the picture centred (at least scale 1: a window
// smaller than the picture shows its middle).
Layout CentredLayout(int windowW, int windowH, int w, int h);

// The picture's scaled area in window coordinates.
Rect PictureArea(const Layout& layout, int w, int h);

// The picture pixel under a window point, or none on the bars around the picture.
struct PicturePoint {
    int x;
    int y;
};
std::optional<PicturePoint> PictureAt(const Layout& layout, int w, int h, int windowX, int windowY);

// Copies a width x height block of pixels of `bytesPerPixel` bytes (1 to 4) from `src` to `dst`,
// each pixel becoming a scale x scale block: row y of the source fills rows y*scale ..
// y*scale+scale-1 of the destination. Pitches are in bytes; both images' rows start aligned to
// the pixel size, as SDL's surfaces' rows do.
void ScaleBlock(const std::uint8_t* src, std::size_t srcPitch, int width, int height,
                int bytesPerPixel, int scale, std::uint8_t* dst, std::size_t dstPitch);

}  // namespace hopla
