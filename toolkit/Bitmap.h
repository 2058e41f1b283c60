// A bitmap: owned pixels with pen, colours, font, background and text position, and the
// drawing operations on them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "toolkit/Color.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"
#include "toolkit/Text.h"

namespace hopla {

// Every drawing operation clips to the bitmap: what falls outside is dropped, never an error.
// Before writing, each operation reports the areas it is about to change to changing(), per
// operation and never per pixel; a class extending Bitmap (Picture) hears of every write
// there. Bitmaps are not copyable (each is one element of the window); image() is the value.
class Bitmap {
  public:
    Bitmap(int width, int height, Color backColor = kBlack);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    virtual ~Bitmap() = default;

    int width() const { return image_.width; }
    int height() const { return image_.height; }
    Rect bounds() const { return {0, 0, width(), height()}; }
    // Resizes to w x h and clears (to the background picture or the back colour).
    void resize(int w, int h);
    // Replaces size and pixels with an image (how the artwork sheets are loaded).
    void loadImage(const Image& image);

    int penWidth() const { return settings_.penWidth; }
    void setPenWidth(int w) { settings_.penWidth = w < 1 ? 1 : w; }
    Color foreColor() const { return settings_.foreColor; }
    void setForeColor(Color c) { settings_.foreColor = c; }
    Color backColor() const { return settings_.backColor; }
    // Setting the back colour clears the bitmap, as the window toolkit does.
    void setBackColor(Color c);
    const Font& font() const { return settings_.font; }
    void setFontSize(int points) { settings_.font.points = points; }
    void setFontBold(bool bold) { settings_.font.bold = bold; }
    void setFontFace(std::string face) { settings_.font.face = std::move(face); }
    // Where print puts the top left of its text.
    int currentX() const { return settings_.currentX; }
    int currentY() const { return settings_.currentY; }
    void setCurrentX(int x) { settings_.currentX = x; }
    void setCurrentY(int y) { settings_.currentY = y; }

    // The persistent background: clear repaints from it. Setting it (or none) clears. A
    // background smaller than the bitmap leaves the rest in the back colour.
    void setBackgroundPicture(std::shared_ptr<const Image> picture);
    const std::shared_ptr<const Image>& backgroundPicture() const { return settings_.background; }

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
    // Colour at the rounded point, or kNoPixel (-1) when it lies outside the bitmap.
    Color point(double x, double y) const;
    // Draws text at (currentX, currentY) in the fore colour, transparent; then moves the text
    // position to the start of the next line. Without a text renderer nothing is drawn.
    void print(std::string_view text);

    // The plain rectangle copy (SRCCOPY): w x h pixels from src at (sx, sy) to dst at (dx, dy),
    // clipped against both bitmaps; what the clip trims off one side moves the other too.
    // Source and destination may be the same bitmap, the areas overlapping.
    static void Copy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy);

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

    // Records that the pixels of r (clipped) are about to change, telling changing() unless
    // nothing is left. Every write goes through here.
    void touch(const Rect& r) {
        const Rect c = r.intersect(bounds());
        if (!c.empty()) changing(c);
    }

  protected:
    // A copy request after clipping: the destination rectangle (empty when nothing is left)
    // and the source's top left.
    struct CopyArea {
        Rect to;
        int sx = 0;
        int sy = 0;
    };
    static CopyArea ClipCopy(const Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src,
                             int sx, int sy);
    // Moves a clipped, non-empty area; top to bottom unless that would overwrite source rows
    // still to be read within one bitmap.
    static void CopyClipped(Bitmap& dst, const Bitmap& src, const CopyArea& area);

    // The hooks; a plain bitmap ignores them.
    // The pixels of c (within the bitmap, not empty) are about to change.
    virtual void changing(const Rect& /*c*/) {}
    // resize or loadImage replaced the pixels, perhaps with another size; changing() for the
    // whole bitmap follows.
    virtual void replaced() {}
    // clear() has just repainted the whole bitmap from the background.
    virtual void cleared() {}

    std::uint32_t* pixelsOf(int y) {
        return image_.pixels.data() + static_cast<std::size_t>(y) * width();
    }

    // Everything but the pixels, as a value; restoring it draws nothing (Picture's save and
    // restore).
    struct Settings {
        int penWidth = 1;
        Color foreColor = kBlack;
        Color backColor = kBlack;
        Font font;
        std::shared_ptr<const Image> background;
        int currentX = 0;
        int currentY = 0;
        bool operator==(const Settings&) const = default;
    };
    const Settings& settings() const { return settings_; }
    void restoreSettings(const Settings& s) { settings_ = s; }
    void restoreFromBackground(const Rect& r);  // r already clipped

  private:
    void stamp(int x, int y, Color color);

    Image image_;
    Settings settings_;
    const TextRenderer* text_ = nullptr;
};

}  // namespace hopla
