// Scaling of the game's picture: where it sits in a window, the copy that makes each game pixel
// an N x N block, and the sharp reduction that fits it to any size. No SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "toolkit/Rect.h"

namespace hopla {

// How the picture fills a window or screen: by the largest whole number (each pixel an N x N
// block, bars around), or at the largest size of its own shape that fits (sharp, see FitScaler).
enum class ScalingMode { Integer, Fit };

// The picture's place in a window: drawn width x height with its top-left corner at (x, y).
// `scale` is the whole scale when width and height are the picture's times it (a block layout),
// else the whole scale just above the drawn size (a fitted layout).
struct Layout {
    int scale = 1;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Layout&) const = default;
    // Every picture pixel is a scale x scale block.
    bool blocks(int w, int h) const { return width == w * scale && height == h * scale; }
};

// The largest whole scale at which a picture of w x h fits an area of areaW x areaH, at least 1
// and at most maxScale.
int LargestScale(int areaW, int areaH, int w, int h, int maxScale);

// The largest whole scale that fits the window, the picture centred (at least scale 1: a window
// smaller than the picture shows its middle).
Layout CentredLayout(int windowW, int windowH, int w, int h);

// The largest size of the picture's w:h shape that fits the window, centred. A window smaller
// than the picture gets the CentredLayout (the picture is never reduced), and one that holds an
// exact whole multiple gets blocks.
Layout FitLayout(int windowW, int windowH, int w, int h);

// The layout for a mode.
Layout LayoutFor(ScalingMode mode, int windowW, int windowH, int w, int h);

// The picture's drawn area in window coordinates.
Rect PictureArea(const Layout& layout);

// The picture pixel under a window point, or none on the bars around the picture.
struct PicturePoint {
    int x;
    int y;
};
std::optional<PicturePoint> PictureAt(const Layout& layout, int w, int h, int windowX, int windowY);
// The same for any point of the window, on the picture or off it (then outside 0..w-1 or
// 0..h-1): where a drag that left the picture is.
PicturePoint PicturePlace(const Layout& layout, int w, int h, int windowX, int windowY);

// The sharp enlargement of a w x h picture to W x H (at least w x h): each output pixel is the
// average of the picture over the pixel's footprint, which is what a nearest-neighbour
// enlargement by any whole number followed by an area reduction gives. Pixel edges stay hard,
// one output pixel wide blend at most, and a still picture never shimmers.
class FitScaler {
  public:
    FitScaler() = default;
    FitScaler(int w, int h, int outW, int outH);

    // The output pixels that depend on the picture pixels in `changed` (clipped to the output).
    Rect outputOf(const Rect& changed) const;
    // Writes the output pixels of `area` (output coordinates) from the picture `src` (0x00RRGGBB
    // pixels, srcPitch pixels a row) into `dst`, the output's top-left pixel, dstPitch pixels a
    // row; output pixels are 0x00RRGGBB too.
    void scale(const std::uint32_t* src, std::size_t srcPitch, const Rect& area, std::uint32_t* dst,
               std::size_t dstPitch) const;

    int outWidth() const { return static_cast<int>(cols_.size()); }
    int outHeight() const { return static_cast<int>(rows_.size()); }

  private:
    // One output column or row: picture pixel `first`, with `weight` of 256 of it and the rest
    // of the next one.
    struct Tap {
        int first;
        int weight;
    };
    static std::vector<Tap> Taps(int in, int out);

    int w_ = 0, h_ = 0;
    std::vector<Tap> cols_, rows_;
    mutable std::vector<std::uint32_t> upper_, lower_;  // a row's two picture rows, widened
};

// Copies a width x height block of pixels of `bytesPerPixel` bytes (1 to 4) from `src` to `dst`,
// each pixel becoming a scale x scale block: row y of the source fills rows y*scale ..
// y*scale+scale-1 of the destination. Pitches are in bytes; both images' rows start aligned to
// the pixel size, as SDL's surfaces' rows do.
void ScaleBlock(const std::uint8_t* src, std::size_t srcPitch, int width, int height,
                int bytesPerPixel, int scale, std::uint8_t* dst, std::size_t dstPitch);

}  // namespace hopla
