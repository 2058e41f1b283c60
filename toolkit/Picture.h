// A picture of the window: owned pixels with pen, colours, font, background and text position.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/Color.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"
#include "toolkit/Text.h"

namespace hopla {

class Label;

// Every drawing operation clips to the picture: what falls outside is dropped, never an error.
// Pictures are not copyable (each is one element of the window); take a snapshot() for a value,
// or save() for everything needed to go back to this moment.
class Picture {
  public:
    class State;
    Picture(int width, int height, Color backColor = kBlack);
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int width() const { return image_.width; }
    int height() const { return image_.height; }
    Rect bounds() const { return {0, 0, width(), height()}; }
    // Resizes to w x h and clears (to the background picture or the back colour).
    void resize(int w, int h);
    // Replaces size and pixels with an image (how the artwork sheets are loaded).
    void loadImage(const Image& image);

    int penWidth() const { return penWidth_; }
    void setPenWidth(int w) { penWidth_ = w < 1 ? 1 : w; }
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c) { foreColor_ = c; }
    Color backColor() const { return backColor_; }
    // Setting the back colour clears the picture, as the window toolkit does.
    void setBackColor(Color c);
    const Font& font() const { return font_; }
    void setFontSize(int points) { font_.points = points; }
    void setFontBold(bool bold) { font_.bold = bold; }
    void setFontFace(std::string face) { font_.face = std::move(face); }
    int currentX = 0;  // where print puts the top left of its text
    int currentY = 0;

    // The persistent background: clear repaints from it. Setting it (or none) repaints the
    // whole picture and its labels. A background smaller than the picture leaves the rest in
    // the back colour.
    void setBackgroundPicture(std::shared_ptr<const Image> picture);
    const std::shared_ptr<const Image>& backgroundPicture() const { return background_; }
    // The pixels as an image value. While the last one taken is still held somewhere and
    // nothing was drawn since, the same image is handed out again instead of a new copy.
    std::shared_ptr<const Image> snapshot() const;

    // Everything the picture holds (pixels, pen, colours, font, text position, background,
    // pending label repaints, what the whole-picture copy knows), for a game saved and gone back
    // to (Form1's save and restore). Rows not written since the last save or restore share their
    // pixels with it, so a save costs only the rows drawn since and a restore only the rows that
    // differ. Restoring a state of another picture throws std::invalid_argument.
    State save() const;
    void restore(const State& state);

    // Repaints everything from the background picture, else fills with the back colour.
    void clear();
    // Filled box between two corners given in any order, both included, widened by
    // (pen width - 1) / 2 pixels on every side, then clipped.
    void fillBox(int x1, int y1, int x2, int y2, Color color);
    // Fills exactly the pixels of r (no pen widening), clipped.
    void fillRect(const Rect& r, Color color);
    // Bresenham line between the end points rounded half to even, both ends included; each
    // pixel is stamped as a pen-width square centred on it. Clipped.
    void line(double x1, double y1, double x2, double y2, Color color);
    // Colour at the rounded point, or kNoPixel (-1) when it lies outside the picture.
    Color point(double x, double y) const;
    // Draws text at (currentX, currentY) in the fore colour, transparent; then moves the text
    // position to the start of the next line. Without a text renderer nothing is drawn.
    void print(std::string_view text);

    // The plain rectangle copy (SRCCOPY): w x h pixels from src at (sx, sy) to dst at (dx, dy),
    // clipped against both pictures; what the clip trims off one side moves the other too.
    // A copy of a whole picture onto another of the same size moves only the rows that may
    // differ: those either picture has written since the last whole copy between the two.
    static void Copy(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx,
                     int sy);

    void setTextRenderer(const TextRenderer* text) { text_ = text; }
    const TextRenderer* textRenderer() const { return text_; }
    const Image& image() const { return image_; }
    // The pixels, for a writer that changes nothing outside `area` (text drawn into a label).
    Image& imageToDrawIn(const Rect& area) {
        touch(area);
        return image_;
    }
    // Row y to write into directly (tests); counts as a change of the whole row. Callers keep
    // 0 <= y < height.
    std::uint32_t* row(int y) {
        touch({0, y, width(), y + 1});
        return pixelsOf(y);
    }

    // Labels living on this picture's surface. A label change marks rectangles; after each
    // handler the owner of the window calls repaintLabels() to restore them.
    void attachLabel(Label& label);
    void markDirty(const Rect& r);
    void repaintLabels();
    bool hasDirtyLabels() const { return !dirty_.empty(); }

    // The bounding box of every pixel changed since the last call (what a screen must update).
    Rect takeChanged();
    // Records that the pixels of r (clipped) are about to change. Every write goes through
    // here: the screen's update and the whole-picture copy rely on it.
    void touch(const Rect& r);

  private:
    // A whole copy from another picture: after it this picture equalled the source, and both
    // were at these versions.
    struct Sync {
        std::uint64_t source = 0;  // the source's id; 0 for an unused slot
        std::uint64_t sourceVersion = 0;
        std::uint64_t version = 0;
    };

    std::uint32_t* pixelsOf(int y) {
        return image_.pixels.data() + static_cast<std::size_t>(y) * width();
    }
    void restoreFromBackground(const Rect& r);  // r already clipped
    void stamp(int x, int y, Color color);
    void copyWhole(const Picture& src);
    void widenChanged(const Rect& c);  // c clipped; the screen's update only
    void replaced();                   // the image was replaced by one of perhaps another size

    Image image_;
    int penWidth_ = 1;
    Color foreColor_ = kBlack;
    Color backColor_;
    Font font_;
    std::shared_ptr<const Image> background_;
    const TextRenderer* text_ = nullptr;
    std::vector<Label*> labels_;
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
    int penWidth_ = 1;
    Color foreColor_ = kBlack;
    Color backColor_ = kBlack;
    Font font_;
    std::shared_ptr<const Image> background_;
    int currentX_ = 0;
    int currentY_ = 0;
    std::vector<Rect> dirty_;
    std::array<Sync, 4> syncs_{};
};

}  // namespace hopla
