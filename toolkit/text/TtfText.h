// Text through SDL2_ttf with font files the platform finds: the toolkit's one real text renderer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "toolkit/Text.h"

struct _TTF_Font;

namespace hopla {

// Glyphs are rendered without anti-aliasing: every text pixel is exactly the text colour, so
// white text on Display stays free space for the ball's colour probes. The latest renderings
// are kept, since labels repaint the same captions again and again.
class TtfText final : public TextRenderer {
  public:
    // Finds a face's font file (the platform's FindFontFile); says one line (without newline)
    // where the user sees it.
    using FontFinder = std::function<std::string(const std::string& face)>;
    using Warning = std::function<void(std::string_view line)>;

    // Fonts through the platform; when none can be had, one warning on standard error per
    // process: the texts stay blank.
    TtfText();
    // The same with `find` and `warn` in their places, the warning once for this renderer.
    TtfText(FontFinder find, Warning warn);
    ~TtfText() override;
    TtfText(const TtfText&) = delete;
    TtfText& operator=(const TtfText&) = delete;

    void draw(Image& target, const Rect& clip, int x, int y, std::string_view text,
              const Font& font, Color color) const override;
    int lineHeight(const Font& font) const override;
    int width(std::string_view text, const Font& font) const override;

    // The file the platform chose for a face name (after the fallbacks).
    std::string fileFor(const std::string& face) const;

  private:
    struct FontCloser {
        void operator()(_TTF_Font* f) const;
    };
    using FontHandle = std::unique_ptr<_TTF_Font, FontCloser>;
    using FontKey = std::tuple<std::string, int, bool>;
    // Which pixels of a text's box are ink, row by row.
    struct Rendering {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> ink;
    };
    _TTF_Font* open(const Font& font) const;
    const Rendering* render(_TTF_Font* f, const Font& font, std::string_view text) const;

    FontFinder find_;
    Warning warn_;
    mutable bool warned_ = false;
    bool ready_ = false;
    mutable std::map<std::string, std::string> files_;
    mutable std::map<FontKey, FontHandle> fonts_;
    mutable std::map<std::pair<FontKey, std::string>, Rendering> renderings_;
};

}  // namespace hopla
