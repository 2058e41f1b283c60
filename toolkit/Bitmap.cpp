// Pixel operations of Bitmap: boxes, lines, points, text, clearing and the rectangle copy.
#include "toolkit/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "toolkit/Rounding.h"

namespace hopla {

Bitmap::Bitmap(int width, int height, Color backColor)
    : image_(std::max(width, 0), std::max(height, 0), static_cast<std::uint32_t>(backColor)) {
    settings_.backColor = backColor;
}

void Bitmap::resize(int w, int h) {
    image_ = Image(std::max(w, 0), std::max(h, 0));
    replaced();
    clear();
}

void Bitmap::loadImage(const Image& image) {
    image_ = image;
    replaced();
    touch(bounds());
}

void Bitmap::setBackColor(Color c) {
    settings_.backColor = c;
    clear();
}

void Bitmap::setBackgroundPicture(std::shared_ptr<const Image> picture) {
    settings_.background = std::move(picture);
    clear();
}

void Bitmap::clear() {
    restoreFromBackground(bounds());
    cleared();
}

void Bitmap::restoreFromBackground(const Rect& r) {
    fillRect(r, settings_.backColor);
    const Image* background = settings_.background.get();
    if (!background) return;
    const Rect from = r.intersect({0, 0, background->width, background->height});
    touch(from);
    for (int y = from.top; y < from.bottom; ++y)
        std::memcpy(
            pixelsOf(y) + from.left,
            background->pixels.data() + static_cast<std::size_t>(y) * background->width + from.left,
            sizeof(std::uint32_t) * from.width());
}

void Bitmap::fillRect(const Rect& area, Color color) {
    const Rect r = area.intersect(bounds());
    if (r.empty()) return;
    touch(r);
    // One row filled, then copied down: a copy moves more pixels per step than a fill.
    const std::uint32_t* const first = pixelsOf(r.top) + r.left;
    std::fill_n(pixelsOf(r.top) + r.left, r.width(), color);
    for (int y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(pixelsOf(y) + r.left, first, sizeof(std::uint32_t) * r.width());
}

void Bitmap::fillBox(int x1, int y1, int x2, int y2, Color color) {
    const long long grow = (settings_.penWidth - 1) / 2;
    const long long left = std::min(x1, x2) - grow, right = std::max(x1, x2) + grow;
    const long long top = std::min(y1, y2) - grow, bottom = std::max(y1, y2) + grow;
    const Rect r{static_cast<int>(std::max(left, 0LL)), static_cast<int>(std::max(top, 0LL)),
                 static_cast<int>(std::min(right + 1, static_cast<long long>(width()))),
                 static_cast<int>(std::min(bottom + 1, static_cast<long long>(height())))};
    if (!r.empty()) fillRect(r, color);
}

void Bitmap::stamp(int x, int y, Color color) {
    const int lo = -(settings_.penWidth - 1) / 2;
    const int x0 = std::max(x + lo, 0), x1 = std::min(x + lo + settings_.penWidth, width());
    const int y0 = std::max(y + lo, 0), y1 = std::min(y + lo + settings_.penWidth, height());
    for (int py = y0; py < y1; ++py) {
        std::uint32_t* p = pixelsOf(py);
        for (int px = x0; px < x1; ++px) p[px] = static_cast<std::uint32_t>(color);
    }
}

void Bitmap::line(double x1, double y1, double x2, double y2, Color color) {
    // End points far outside the bitmap are pulled in first so the walk stays short; lines
    // the game draws are a few dozen pixels long.
    constexpr double kFar = 1 << 20;
    int x = RoundHalfEven(std::clamp(x1, -kFar, kFar)),
        y = RoundHalfEven(std::clamp(y1, -kFar, kFar));
    const int xe = RoundHalfEven(std::clamp(x2, -kFar, kFar)),
              ye = RoundHalfEven(std::clamp(y2, -kFar, kFar));
    const int reach = settings_.penWidth;
    touch({std::min(x, xe) - reach, std::min(y, ye) - reach, std::max(x, xe) + reach + 1,
           std::max(y, ye) + reach + 1});
    const int dx = std::abs(xe - x), dy = -std::abs(ye - y);
    const int sx = x < xe ? 1 : -1, sy = y < ye ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        stamp(x, y, color);
        if (x == xe && y == ye) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

Color Bitmap::point(double x, double y) const {
    const int px = RoundHalfEven(x), py = RoundHalfEven(y);
    if (px < 0 || py < 0 || px >= width() || py >= height()) return kNoPixel;
    return static_cast<Color>(image_.at(px, py));
}

void Bitmap::print(std::string_view text) {
    if (text_) {
        touch(bounds());  // glyph extents are the renderer's business; rare enough
        text_->draw(image_, bounds(), settings_.currentX, settings_.currentY, text, settings_.font,
                    settings_.foreColor);
        settings_.currentY += text_->lineHeight(settings_.font);
    }
    settings_.currentX = 0;
}

void Bitmap::Copy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy) {
    const CopyArea area = ClipCopy(dst, dx, dy, w, h, src, sx, sy);
    if (!area.to.empty()) CopyClipped(dst, src, area);
}

Bitmap::CopyArea Bitmap::ClipCopy(const Bitmap& dst, int dx, int dy, int w, int h,
                                  const Bitmap& src, int sx, int sy) {
    long long x = sx, y = sy, tx = dx, ty = dy, cw = w, ch = h;
    // Clip against the source, then the destination; each trim moves the other side along.
    if (x < 0) {
        tx -= x;
        cw += x;
        x = 0;
    }
    if (y < 0) {
        ty -= y;
        ch += y;
        y = 0;
    }
    cw = std::min(cw, src.width() - x);
    ch = std::min(ch, src.height() - y);
    if (tx < 0) {
        x -= tx;
        cw += tx;
        tx = 0;
    }
    if (ty < 0) {
        y -= ty;
        ch += ty;
        ty = 0;
    }
    cw = std::min(cw, dst.width() - tx);
    ch = std::min(ch, dst.height() - ty);
    if (cw <= 0 || ch <= 0) return {};
    // Whatever is left lies within both bitmaps, so every figure fits an int.
    return {Rect::Sized(static_cast<int>(tx), static_cast<int>(ty), static_cast<int>(cw),
                        static_cast<int>(ch)),
            static_cast<int>(x), static_cast<int>(y)};
}

void Bitmap::CopyClipped(Bitmap& dst, const Bitmap& src, const CopyArea& area) {
    dst.touch(area.to);
    // Everything in locals: the rows are moved through memmove, which might alias `area`.
    const int rows = area.to.height();
    const auto dstStride = static_cast<std::size_t>(dst.width());
    const auto srcStride = static_cast<std::size_t>(src.width());
    const std::size_t bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(area.to.width());
    const bool upwards = &dst == &src && area.to.top > area.sy;  // overlapping, one bitmap
    std::uint32_t* const to = dst.pixelsOf(area.to.top) + area.to.left;
    const std::uint32_t* const from =
        src.image_.pixels.data() + static_cast<std::size_t>(area.sy) * srcStride + area.sx;
    for (int i = 0; i < rows; ++i) {
        const auto r = static_cast<std::size_t>(upwards ? rows - 1 - i : i);
        std::memmove(to + r * dstStride, from + r * srcStride, bytes);
    }
}

}  // namespace hopla
