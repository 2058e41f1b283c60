// Picture: the labels on its surface, the changed area, and whole copies by row versions.
#include "toolkit/Picture.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "toolkit/Label.h"

namespace hopla {

namespace {
std::atomic<std::uint64_t> nextPictureId{1};
}  // namespace

Picture::Picture(int width, int height, Color backColor)
    : Bitmap(width, height, backColor),
      id_(nextPictureId++),
      rowVersion_(static_cast<std::size_t>(Bitmap::height()), version_) {
    replaced();
}

std::shared_ptr<const Image> Picture::snapshot() const {
    std::shared_ptr<const Image> last = snapshot_.lock();
    if (last && snapshotVersion_ == version_) return last;
    last = std::make_shared<const Image>(image());
    snapshot_ = last;
    snapshotVersion_ = version_;
    return last;
}

void Picture::Copy(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx, int sy) {
    const CopyArea area = ClipCopy(dst, dx, dy, w, h, src, sx, sy);
    if (area.to.empty()) return;
    if (&dst != &src && area.sx == 0 && area.sy == 0 && area.to == dst.bounds() &&
        src.bounds() == dst.bounds()) {
        dst.copyWhole(src);
        return;
    }
    CopyClipped(dst, src, area);
}

void Picture::copyWhole(const Picture& src) {
    // Rows neither picture wrote since the last whole copy between them are equal already.
    auto found = std::find_if(syncs_.begin(), syncs_.end(),
                              [&](const Sync& s) { return s.source == src.id_; });
    const bool known = found != syncs_.end();
    const Sync last = known ? *found : Sync{};
    const std::uint64_t stamp = version_ + 1;
    // Everything the row loop reads in locals: memcpy might alias any member.
    const int rows = height();
    const auto stride = static_cast<std::size_t>(width());
    const std::size_t bytes = sizeof(std::uint32_t) * stride;
    const std::uint32_t* const from = src.image().pixels.data();
    std::uint32_t* const to = pixelsOf(0);
    const std::uint64_t* const fromVersion = src.rowVersion_.data();
    std::uint64_t* const toVersion = rowVersion_.data();
    int first = rows, end = 0;
    for (int y = 0; y < rows; ++y) {
        // Skip the run of rows equal already in a scan without calls, so it stays in registers.
        if (known)
            while (y < rows && fromVersion[y] <= last.sourceVersion && toVersion[y] <= last.version)
                ++y;
        if (y == rows) break;
        const auto i = static_cast<std::size_t>(y);
        std::memcpy(to + i * stride, from + i * stride, bytes);
        toVersion[i] = stamp;
        noteWritten(y, 0, static_cast<int>(stride));
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

void Picture::changing(const Rect& c) {
    ++version_;
    std::fill(rowVersion_.begin() + c.top, rowVersion_.begin() + c.bottom, version_);
    for (int y = c.top; y < c.bottom; ++y) noteWritten(y, c.left, c.right);
    widenChanged(c);
}

void Picture::replaced() {
    // Every row is new to whoever copied from this picture, and no earlier copy into it holds.
    rowVersion_.assign(static_cast<std::size_t>(height()), ++version_);
    written_.assign(static_cast<std::size_t>(height()), Span{0, width()});
    writtenRows_.resize(static_cast<std::size_t>(height()));
    for (int y = 0; y < height(); ++y) writtenRows_[static_cast<std::size_t>(y)] = y;
    syncs_ = {};
}

void Picture::cleared() {
    for (const Label* label : labels_)
        if (label->visible()) label->paint(*this, bounds());
}

void Picture::widenChanged(const Rect& c) {
    changed_ = changed_.empty()
                   ? c
                   : Rect{std::min(changed_.left, c.left), std::min(changed_.top, c.top),
                          std::max(changed_.right, c.right), std::max(changed_.bottom, c.bottom)};
}

std::uint64_t Picture::pixelDigest(Digest digest) const {
    if (digest_ != digest || digestVersion_ != version_) {
        digestValue_ = digest(image());
        digest_ = digest;
        digestVersion_ = version_;
    }
    return digestValue_;
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
