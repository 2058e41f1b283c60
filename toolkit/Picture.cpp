// Pixel operations of Picture: boxes, lines, points, text, clearing and the rectangle copy.
#include "toolkit/Picture.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "toolkit/Label.h"
#include "toolkit/Rounding.h"

namespace hopla {

namespace {
std::atomic<std::uint64_t> nextPictureId{1};
}  // namespace

Picture::Picture(int width, int height, Color backColor)
    : image_(std::max(width, 0), std::max(height, 0), static_cast<std::uint32_t>(backColor)),
      backColor_(backColor),
      id_(nextPictureId++),
      rowVersion_(static_cast<std::size_t>(image_.height), version_),
      written_(static_cast<std::size_t>(image_.height), Span{0, image_.width}) {}

void Picture::resize(int w, int h) {
    image_ = Image(std::max(w, 0), std::max(h, 0));
    replaced();
    clear();
}

void Picture::loadImage(const Image& image) {
    image_ = image;
    replaced();
    touch(bounds());
}

void Picture::replaced() {
    // Every row is new to whoever copied from this picture, and no earlier copy into it holds.
    rowVersion_.assign(static_cast<std::size_t>(height()), ++version_);
    written_.assign(static_cast<std::size_t>(height()), Span{0, width()});
    syncs_ = {};
}

std::shared_ptr<const Image> Picture::snapshot() const {
    std::shared_ptr<const Image> last = snapshot_.lock();
    if (last && snapshotVersion_ == version_) return last;
    last = std::make_shared<const Image>(image_);
    snapshot_ = last;
    snapshotVersion_ = version_;
    return last;
}

void Picture::setBackColor(Color c) {
    backColor_ = c;
    clear();
}

void Picture::setBackgroundPicture(std::shared_ptr<const Image> picture) {
    background_ = std::move(picture);
    clear();
}

void Picture::clear() {
    restoreFromBackground(bounds());
    for (const Label* label : labels_)
        if (label->visible()) label->paint(*this, bounds());
}

void Picture::restoreFromBackground(const Rect& r) {
    fillRect(r, backColor_);
    if (!background_) return;
    const Rect from = r.intersect({0, 0, background_->width, background_->height});
    touch(from);
    for (int y = from.top; y < from.bottom; ++y)
        std::memcpy(pixelsOf(y) + from.left,
                    background_->pixels.data() + static_cast<std::size_t>(y) * background_->width +
                        from.left,
                    sizeof(std::uint32_t) * from.width());
}

void Picture::fillRect(const Rect& area, Color color) {
    const Rect r = area.intersect(bounds());
    touch(r);
    for (int y = r.top; y < r.bottom; ++y) std::fill_n(pixelsOf(y) + r.left, r.width(), color);
}

void Picture::fillBox(int x1, int y1, int x2, int y2, Color color) {
    const long long grow = (penWidth_ - 1) / 2;
    const long long left = std::min(x1, x2) - grow, right = std::max(x1, x2) + grow;
    const long long top = std::min(y1, y2) - grow, bottom = std::max(y1, y2) + grow;
    const Rect r{static_cast<int>(std::max(left, 0LL)), static_cast<int>(std::max(top, 0LL)),
                 static_cast<int>(std::min(right + 1, static_cast<long long>(width()))),
                 static_cast<int>(std::min(bottom + 1, static_cast<long long>(height())))};
    if (!r.empty()) fillRect(r, color);
}

void Picture::stamp(int x, int y, Color color) {
    const int lo = -(penWidth_ - 1) / 2;
    const int x0 = std::max(x + lo, 0), x1 = std::min(x + lo + penWidth_, width());
    const int y0 = std::max(y + lo, 0), y1 = std::min(y + lo + penWidth_, height());
    for (int py = y0; py < y1; ++py) {
        std::uint32_t* p = pixelsOf(py);
        for (int px = x0; px < x1; ++px) p[px] = static_cast<std::uint32_t>(color);
    }
}

void Picture::line(double x1, double y1, double x2, double y2, Color color) {
    // End points far outside the picture are pulled in first so the walk stays short; lines
    // the game draws are a few dozen pixels long.
    constexpr double kFar = 1 << 20;
    int x = RoundHalfEven(std::clamp(x1, -kFar, kFar)),
        y = RoundHalfEven(std::clamp(y1, -kFar, kFar));
    const int xe = RoundHalfEven(std::clamp(x2, -kFar, kFar)),
              ye = RoundHalfEven(std::clamp(y2, -kFar, kFar));
    const int reach = penWidth_;
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

Color Picture::point(double x, double y) const {
    const int px = RoundHalfEven(x), py = RoundHalfEven(y);
    if (px < 0 || py < 0 || px >= width() || py >= height()) return kNoPixel;
    return static_cast<Color>(image_.at(px, py));
}

void Picture::print(std::string_view text) {
    if (text_) {
        touch(bounds());  // glyph extents are the renderer's business; rare enough
        text_->draw(image_, bounds(), currentX, currentY, text, font_, foreColor_);
        currentY += text_->lineHeight(font_);
    }
    currentX = 0;
}

void Picture::Copy(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx, int sy) {
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
    if (cw <= 0 || ch <= 0) return;
    if (&dst != &src && tx == 0 && ty == 0 && x == 0 && y == 0 && cw == src.width() &&
        ch == src.height() && cw == dst.width() && ch == dst.height()) {
        dst.copyWhole(src);
        return;
    }
    dst.touch(Rect::Sized(static_cast<int>(tx), static_cast<int>(ty), static_cast<int>(cw),
                          static_cast<int>(ch)));
    const std::size_t bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(cw);
    const bool upwards = &dst == &src && ty > y;  // overlapping copy within one picture
    for (long long i = 0; i < ch; ++i) {
        const long long r = upwards ? ch - 1 - i : i;
        std::memmove(dst.pixelsOf(static_cast<int>(ty + r)) + tx,
                     src.image_.pixels.data() + (y + r) * src.width() + x, bytes);
    }
}

void Picture::copyWhole(const Picture& src) {
    // Rows neither picture wrote since the last whole copy between them are equal already.
    auto found = std::find_if(syncs_.begin(), syncs_.end(),
                              [&](const Sync& s) { return s.source == src.id_; });
    const bool known = found != syncs_.end();
    const Sync last = known ? *found : Sync{};
    const std::uint64_t stamp = version_ + 1;
    const std::size_t bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(width());
    int first = height(), end = 0;
    for (int y = 0; y < height(); ++y) {
        const auto i = static_cast<std::size_t>(y);
        if (known && src.rowVersion_[i] <= last.sourceVersion && rowVersion_[i] <= last.version)
            continue;
        std::memcpy(pixelsOf(y), src.image_.pixels.data() + i * static_cast<std::size_t>(width()),
                    bytes);
        rowVersion_[i] = stamp;
        written_[i] = {0, width()};
        first = std::min(first, y);
        end = y + 1;
    }
    if (end > 0) {
        version_ = stamp;
        widenChanged({0, first, width(), end});
    }
    // This copy becomes the newest record; the oldest (or the one it renews) makes room.
    const auto slot = known ? found : syncs_.end() - 1;
    std::move_backward(syncs_.begin(), slot, slot + 1);
    syncs_.front() = {src.id_, src.version_, version_};
}

void Picture::touch(const Rect& r) {
    const Rect c = r.intersect(bounds());
    if (c.empty()) return;
    ++version_;
    std::fill(rowVersion_.begin() + c.top, rowVersion_.begin() + c.bottom, version_);
    for (int y = c.top; y < c.bottom; ++y) {
        Span& w = written_[static_cast<std::size_t>(y)];
        w = {std::min(w.left, c.left), std::max(w.right, c.right)};
    }
    widenChanged(c);
}

void Picture::widenChanged(const Rect& c) {
    changed_ = changed_.empty()
                   ? c
                   : Rect{std::min(changed_.left, c.left), std::min(changed_.top, c.top),
                          std::max(changed_.right, c.right), std::max(changed_.bottom, c.bottom)};
}

Rect Picture::takeChanged() {
    Rect r = changed_;
    changed_ = {};
    return r;
}

void Picture::attachLabel(Label& label) {
    labels_.push_back(&label);
}

void Picture::markDirty(const Rect& r) {
    const Rect clipped = r.intersect(bounds());
    if (!clipped.empty()) dirty_.push_back(clipped);
}

void Picture::repaintLabels() {
    std::vector<Rect> dirty;
    dirty.swap(dirty_);
    for (const Rect& r : dirty) {
        restoreFromBackground(r);
        for (const Label* label : labels_)
            if (label->visible() && label->rect().overlaps(r)) label->paint(*this, r);
    }
}

}  // namespace hopla
