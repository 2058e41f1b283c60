// Layout arithmetic and the nearest-neighbour enlargement.
#include "frontend/Scaling.h"

#include <algorithm>
#include <cstring>

namespace hopla {
namespace {

// One source row widened: every pixel written `Scale` times.
template <typename Pixel, int Scale>
void WidenFixed(const Pixel* src, int width, Pixel* dst) {
    for (int x = 0; x < width; ++x) {
        const Pixel p = src[x];
        for (int k = 0; k < Scale; ++k) dst[k] = p;
        dst += Scale;
    }
}

template <typename Pixel>
void Widen(const Pixel* src, int width, int scale, Pixel* dst) {
    switch (scale) {
        case 2:
            return WidenFixed<Pixel, 2>(src, width, dst);
        case 3:
            return WidenFixed<Pixel, 3>(src, width, dst);
        case 4:
            return WidenFixed<Pixel, 4>(src, width, dst);
        default:
            for (int x = 0; x < width; ++x)
                for (int k = 0; k < scale; ++k) *dst++ = src[x];
    }
}

// Three-byte pixels, byte by byte.
void Widen24(const std::uint8_t* src, int width, int scale, std::uint8_t* dst) {
    for (int x = 0; x < width; ++x, src += 3)
        for (int k = 0; k < scale; ++k, dst += 3) std::memcpy(dst, src, 3);
}

}  // namespace

int LargestScale(int areaW, int areaH, int w, int h, int maxScale) {
    if (w <= 0 || h <= 0) return 1;
    return std::clamp(std::min(areaW / w, areaH / h), 1, std::max(1, maxScale));
}

Layout CentredLayout(int windowW, int windowH, int w, int h) {
    const int scale = LargestScale(windowW, windowH, w, h, std::max(windowW, windowH));
    return {scale, (windowW - w * scale) / 2, (windowH - h * scale) / 2};
}

Rect PictureArea(const Layout& layout, int w, int h) {
    return Rect::Sized(layout.x, layout.y, w * layout.scale, h * layout.scale);
}

std::optional<PicturePoint> PictureAt(const Layout& layout, int w, int h, int windowX,
                                      int windowY) {
    if (!PictureArea(layout, w, h).contains(windowX, windowY)) return std::nullopt;
    return PicturePoint{(windowX - layout.x) / layout.scale, (windowY - layout.y) / layout.scale};
}

void ScaleBlock(const std::uint8_t* src, std::size_t srcPitch, int width, int height,
                int bytesPerPixel, int scale, std::uint8_t* dst, std::size_t dstPitch) {
    if (width <= 0 || height <= 0 || scale <= 0) return;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel * scale;
    for (int y = 0; y < height; ++y, src += srcPitch) {
        std::uint8_t* first = dst;
        if (scale == 1) {
            std::memcpy(first, src, rowBytes);
        } else {
            switch (bytesPerPixel) {
                case 4:
                    Widen(reinterpret_cast<const std::uint32_t*>(src), width, scale,
                          reinterpret_cast<std::uint32_t*>(first));
                    break;
                case 3:
                    Widen24(src, width, scale, first);
                    break;
                case 2:
                    Widen(reinterpret_cast<const std::uint16_t*>(src), width, scale,
                          reinterpret_cast<std::uint16_t*>(first));
                    break;
                default:
                    Widen(src, width, scale, first);
                    break;
            }
        }
        dst += dstPitch;
        // The other rows of the block are copies of the first.
        for (int k = 1; k < scale; ++k, dst += dstPitch) std::memcpy(dst, first, rowBytes);
    }
}

}  // namespace hopla
