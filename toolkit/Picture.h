// A picture of the window: a bitmap that carries labels, knows the area a screen must update,
// and keeps what makes whole copies between pictures and repeated snapshots cheap.
#pragma once

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
    // to (Form1's save and restore). Rows not written since the last save or restore share their
    // pixels with it, so a save costs only the rows drawn since and a restore only what differs.
    // Restoring a state of another picture throws std::invalid_argument.
    State save() const;
    void restore(const State& state);

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

  private:
    // A whole copy from another picture: after it this picture equalled the source, and both
    // were at these versions.
    struct Sync {
        std::uint64_t source = 0;  // the source's id; 0 for an unused slot
        std::uint64_t sourceVersion = 0;
        std::uint64_t version = 0;
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

    // The rows as the last save or restore left them, with their stamps: what the next save
    // shares instead of copying. A stamp names one content of one row for the picture's life,
    // since versions only grow and a restore gives every row it rewrites a new one.
    using SharedRow = std::shared_ptr<const std::uint32_t[]>;
    mutable std::vector<SharedRow> keptRows_;
    mutable std::vector<std::uint64_t> keptStamps_;
    // The columns of each row written since the last save or restore: going back to the
    // state last saved or restored copies only these.
    struct Span {
        int left, right;
    };
    mutable std::vector<Span> written_;
};

// A saved picture: opaque, cheap to copy (rows are shared), restorable into its own picture.
class Picture::State {
  private:
    friend class Picture;
    std::uint64_t picture_ = 0;  // the id of the picture saved; 0 for a state never saved
    int width_ = 0;
    int height_ = 0;
    std::vector<SharedRow> rows_;
    std::vector<std::uint64_t> stamps_;
    Settings settings_;
    std::vector<Rect> dirty_;
    std::array<Sync, 4> syncs_{};
};

}  // namespace hopla
