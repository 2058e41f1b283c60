// The text seam: how pictures and labels get glyphs drawn without knowing the font machinery.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/Color.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"

namespace hopla {

struct Font {
    std::string face = "ＭＳ Ｐゴシック";
    int points = 9;  // at 96 dpi: 18 pt is 24 px
    bool bold = false;
    bool operator==(const Font&) const = default;
};

class TextRenderer {
  public:
    virtual ~TextRenderer() = default;
    // Draws UTF-8 text with its top left at (x, y): only glyph pixels change, each to exactly
    // `color` (no blending), and only inside `clip` (already within the image).
    virtual void draw(Image& target, const Rect& clip, int x, int y, std::string_view text,
                      const Font& font, Color color) const = 0;
    // Height of one line of the font in pixels.
    virtual int lineHeight(const Font& font) const = 0;
    // Width in pixels of UTF-8 text drawn on one line (0 when no font is to be had).
    virtual int width(std::string_view text, const Font& font) const = 0;
};

}  // namespace hopla
