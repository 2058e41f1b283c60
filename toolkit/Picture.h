// A picture of the window: a bitmap that carries labels, knows the area a screen must update,
// and keeps what makes whole copies between pictures and repeated snapshots cheap.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/Bitmap.h"
#include "toolkit/Image.h"
#include "toolkit/LabelHost.h"
#include "toolkit/Rect.h"

namespace hopla {

// Every drawing operation of Bitmap applies; clearing (clear, setBackColor,
// setBackgroundPicture, resize) paints the visible labels back over the whole picture.
// Pictures are not copyable; take a snapshot() for a value, or save() for everything needed
// to go back to this moment.
class Picture final : public Bitmap, public LabelHost {
  public:
    class State;
    Picture(int width, int height, Color backColor = kBlack);
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // The pixels as an image value. While the last one taken is still held somewhere and
    // nothing was drawn since, the same image is handed out again instead of a new copy.
    std::shared_ptr<const Image> snapshot() const;

    // Everything the picture holds (pixels, pen, colours, font, text position, background,
    // pending label repaints, what the whole-picture copy knows), for a game saved and gone back
    // to (Form1's save and restore). Saved pixels are immutable rows in shared chunks: a save
    // copies only the rows written since the last save or restore (none: the same state is
    // handed out again), and a restore rewrites only the rows where the two differ.
    // Restoring a state of another picture throws std::invalid_argument. Rows a restore rewrites
    // count as written, unless `stamps` is Saved: then every row takes back its stamp as saved,
    // so whole copies between pictures restored to states saved at one moment move only the rows
    // that differed then. Only for a group restored together that holds every picture its
    // members copy from or into (Form1's restore).
    enum class Stamps { Fresh, Saved };
    State save() const;
    void restore(const State& state, Stamps stamps = Stamps::Fresh);

    // Bitmap::Copy between pictures: w x h pixels from src at (sx, sy) to dst at (dx, dy),
    // clipped against both; what the clip trims off one side moves the other too. A copy of a
    // whole picture onto another of the same size moves only the rows that may differ: those
    // either picture has written since the last whole copy between the two.
    static void Copy(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx,
                     int sy);

    // Labels living on this picture's surface. A label change marks rectangles; after each
    // handler the owner of the window calls repaintLabels() to restore them.
    void attachLabel(Label& label) override;
    void markDirty(const Rect& r) override;
    void repaintLabels();
    bool hasDirtyLabels() const { return !dirty_.empty(); }

    // The bounding box of every pixel changed since the last call (what a screen must update).
    Rect takeChanged();

    // What `digest` makes of the pixels, worked out again only after they changed: check lines
    // hash every picture, and most of them stay as they were.
    using Digest = std::uint64_t (*)(const Image&);
    std::uint64_t pixelDigest(Digest digest) const;

  private:
    // A whole copy from another picture: after it this picture equalled the source, and both
    // were at these versions.
    struct Sync {
        std::uint64_t source = 0;  // the source's id; 0 for an unused slot
        std::uint64_t sourceVersion = 0;
        std::uint64_t version = 0;
        bool operator==(const Sync&) const = default;
    };

    // Every write arrives here first: the screen's update and the whole copy rely on it.
    void changing(const Rect& c) override;
    void replaced() override;
    void cleared() override;
    void copyWhole(const Picture& src);
    void widenChanged(const Rect& c);  // c clipped; the screen's update only

    std::vector<Label*> labels_;  // not owned; each label outlives its repaints
    std::vector<Rect> dirty_;
    Rect changed_;

    // Change tracking: every write stamps the rows it covers with a new version.
    std::uint64_t id_;  // unique among all pictures made in this process
    std::uint64_t version_ = 1;
    std::vector<std::uint64_t> rowVersion_;
    std::array<Sync, 4> syncs_{};  // the latest whole copies into this picture, newest first
    mutable std::weak_ptr<const Image> snapshot_;
    mutable std::uint64_t snapshotVersion_ = 0;

    // pixelDigest's last result, and at which version of the pixels.
    mutable Digest digest_ = nullptr;
    mutable std::uint64_t digestVersion_ = 0;
    mutable std::uint64_t digestValue_ = 0;

    // Saved pixels: rows of kChunkRows in a chunk, chunks in a frame, each level immutable and
    // shared by every save that holds it. The pixels equal base_ but for the columns of
    // written_ in the rows of writtenRows_ (every row while there is no base).
    static constexpr int kChunkRows = 32;
    using SharedRow = std::shared_ptr<const std::uint32_t[]>;
    struct Chunk {
        std::array<SharedRow, kChunkRows> rows;
    };
    struct Frame {
        int width = 0, height = 0;
        std::vector<std::shared_ptr<const Chunk>> chunks;
    };
    struct Saved;
    struct Span {
        int left, right;  // empty when left >= right
    };
    void noteWritten(int y, int left, int right) {
        Span& w = written_[static_cast<std::size_t>(y)];
        if (w.left >= w.right) {
            writtenRows_.push_back(y);
            w = {left, right};
        } else {
            w = {std::min(w.left, left), std::max(w.right, right)};
        }
    }
    bool baseFits() const;
    std::shared_ptr<const Frame> frameWithWrites() const;
    bool sameAs(const Saved& saved) const;

    mutable std::shared_ptr<const Frame> base_;
    mutable std::vector<Span> written_;
    mutable std::vector<int> writtenRows_;
    // The state last saved or restored: a save hands it out again while the picture equals it.
    mutable std::shared_ptr<const Saved> lastSaved_;
};

struct Picture::Saved {
    std::shared_ptr<const Frame> frame;
    std::vector<std::uint64_t> stamps;
    Settings settings;
    std::vector<Rect> dirty;
    std::array<Sync, 4> syncs{};
};

// A saved picture: opaque, cheap to copy (one shared block), restorable into its own picture.
class Picture::State {
  private:
    friend class Picture;
    std::uint64_t picture_ = 0;  // the id of the picture saved; 0 for a state never saved
    std::shared_ptr<const Saved> saved_;
};

}  // namespace hopla
