// Layout arithmetic, the nearest-neighbour enlargement and the sharp fit.
#include "shell/Scaling.h"

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
    return {scale, (windowW - w * scale) / 2, (windowH - h * scale) / 2, w * scale, h * scale};
}

Layout FitLayout(int windowW, int windowH, int w, int h) {
    if (w <= 0 || h <= 0 || windowW < w || windowH < h)
        return CentredLayout(windowW, windowH, w, h);
    // The full width if the shape's height fits under it, else the full height.
    int width = windowW, height = static_cast<int>(static_cast<long long>(windowW) * h / w);
    if (height > windowH) {
        height = windowH;
        width = static_cast<int>(static_cast<long long>(windowH) * w / h);
    }
    const int scale = std::max((width + w - 1) / w, (height + h - 1) / h);
    if (width == w * scale && height == h * scale) return CentredLayout(windowW, windowH, w, h);
    return {scale, (windowW - width) / 2, (windowH - height) / 2, width, height};
}

Layout LayoutFor(ScalingMode mode, int windowW, int windowH, int w, int h) {
    return mode == ScalingMode::Fit ? FitLayout(windowW, windowH, w, h)
                                    : CentredLayout(windowW, windowH, w, h);
}

Rect PictureArea(const Layout& layout) {
    return Rect::Sized(layout.x, layout.y, layout.width, layout.height);
}

std::optional<PicturePoint> PictureAt(const Layout& layout, int w, int h, int windowX,
                                      int windowY) {
    if (!PictureArea(layout).contains(windowX, windowY)) return std::nullopt;
    return PicturePlace(layout, w, h, windowX, windowY);
}

PicturePoint PicturePlace(const Layout& layout, int w, int h, int windowX, int windowY) {
    // The picture pixel whose footprint holds the point's pixel's top-left corner, rounded
    // down off the picture's left and top as well.
    const auto floorDiv = [](long long a, long long b) { return a / b - (a % b < 0 ? 1 : 0); };
    const long long px =
        floorDiv(static_cast<long long>(windowX - layout.x) * w, std::max(1, layout.width));
    const long long py =
        floorDiv(static_cast<long long>(windowY - layout.y) * h, std::max(1, layout.height));
    return PicturePoint{static_cast<int>(px), static_cast<int>(py)};
}

std::vector<FitScaler::Tap> FitScaler::Taps(int in, int out) {
    // Output pixel o covers [o*in, (o+1)*in) in units of 1/out of a picture pixel; picture
    // pixel p covers [p*out, (p+1)*out). Since out >= in the first covers at most two of them.
    std::vector<Tap> taps(static_cast<std::size_t>(out));
    for (int o = 0; o < out; ++o) {
        const long long start = static_cast<long long>(o) * in, end = start + in;
        const int first = static_cast<int>(start / out);
        const long long border = static_cast<long long>(first + 1) * out;
        const int weight =
            end <= border ? 256 : static_cast<int>(((border - start) * 256 + in / 2) / in);
        taps[static_cast<std::size_t>(o)] = {std::min(first, in - 1), weight};
    }
    return taps;
}

FitScaler::FitScaler(int w, int h, int outW, int outH)
    : w_(w), h_(h), cols_(Taps(w, outW)), rows_(Taps(h, outH)) {}

Rect FitScaler::outputOf(const Rect& changed) const {
    const int outW = outWidth(), outH = outHeight();
    if (changed.empty() || w_ <= 0 || h_ <= 0) return {};
    const auto lo = [](int p, int in, int out) {
        return static_cast<int>(static_cast<long long>(p) * out / in);
    };
    const auto hi = [](int p, int in, int out) {
        return static_cast<int>((static_cast<long long>(p) * out + in - 1) / in);
    };
    return Rect{lo(changed.left, w_, outW), lo(changed.top, h_, outH), hi(changed.right, w_, outW),
                hi(changed.bottom, h_, outH)}
        .intersect({0, 0, outW, outH});
}

namespace {

// a * weight/256 + b * (256-weight)/256 on each of the three colour bytes at once.
inline std::uint32_t Blend(std::uint32_t a, std::uint32_t b, int weight) {
    if (weight == 256 || a == b) return a;
    const auto wa = static_cast<std::uint32_t>(weight), wb = 256u - wa;
    const std::uint32_t rb = ((a & 0xFF00FFu) * wa + (b & 0xFF00FFu) * wb) >> 8;
    const std::uint32_t g = ((a & 0x00FF00u) * wa + (b & 0x00FF00u) * wb) >> 8;
    return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

}  // namespace

void FitScaler::scale(const std::uint32_t* src, std::size_t srcPitch, const Rect& area,
                      std::uint32_t* dst, std::size_t dstPitch) const {
    const Rect r = area.intersect({0, 0, outWidth(), outHeight()});
    if (r.empty()) return;
    const auto width = static_cast<std::size_t>(r.width());
    upper_.resize(width);
    lower_.resize(width);
    // A picture row widened to the area's columns.
    const auto widen = [&](int row, std::vector<std::uint32_t>& out) {
        const std::uint32_t* line = src + static_cast<std::size_t>(row) * srcPitch;
        for (int x = r.left; x < r.right; ++x) {
            const Tap& t = cols_[static_cast<std::size_t>(x)];
            out[static_cast<std::size_t>(x - r.left)] =
                Blend(line[t.first], line[std::min(t.first + 1, w_ - 1)], t.weight);
        }
    };
    int upperRow = -1, lowerRow = -1;
    for (int y = r.top; y < r.bottom; ++y) {
        const Tap& t = rows_[static_cast<std::size_t>(y)];
        const int next = std::min(t.first + 1, h_ - 1);
        // Consecutive output rows mostly share their picture rows: each is widened once.
        if (upperRow != t.first) {
            if (lowerRow == t.first) {
                upper_.swap(lower_);
                lowerRow = -1;
            } else {
                widen(t.first, upper_);
            }
            upperRow = t.first;
        }
        std::uint32_t* out = dst + static_cast<std::size_t>(y) * dstPitch + r.left;
        if (t.weight == 256) {
            std::memcpy(out, upper_.data(), width * sizeof(std::uint32_t));
            continue;
        }
        if (lowerRow != next) {
            widen(next, lower_);
            lowerRow = next;
        }
        for (std::size_t x = 0; x < width; ++x) out[x] = Blend(upper_[x], lower_[x], t.weight);
    }
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
