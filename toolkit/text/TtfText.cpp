// Rendering text with SDL2_ttf: solid (unblended) glyphs copied into a picture, clipped.
#include "toolkit/text/TtfText.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

#include "toolkit/text/FontLookup.h"

namespace hopla {
namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

}  // namespace

void TtfText::FontCloser::operator()(_TTF_Font* f) const { TTF_CloseFont(f); }

TtfText::TtfText() { ready_ = TTF_Init() == 0; }

TtfText::~TtfText() {
    fonts_.clear();
    if (ready_) TTF_Quit();
}

std::string TtfText::fileFor(const std::string& face) const {
    auto [it, fresh] = files_.try_emplace(face);
    if (fresh) it->second = FindFontFile(face);
    return it->second;
}

_TTF_Font* TtfText::open(const Font& font) const {
    if (!ready_) return nullptr;
    auto key = std::make_tuple(font.face, font.points, font.bold);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        const std::string file = fileFor(font.face);
        // Sizes are points at 96 dots per inch.
        FontHandle handle(file.empty() ? nullptr
                                       : TTF_OpenFontDPI(file.c_str(), font.points, 96, 96));
        if (handle) TTF_SetFontStyle(handle.get(), font.bold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL);
        it = fonts_.emplace(key, std::move(handle)).first;
    }
    return it->second.get();
}

int TtfText::lineHeight(const Font& font) const {
    TTF_Font* f = open(font);
    return f ? TTF_FontHeight(f) : font.points * 96 / 72;
}

void TtfText::draw(Image& target, const Rect& clip, int x, int y, std::string_view text,
                   const Font& font, Color color) const {
    TTF_Font* f = open(font);
    if (!f || text.empty()) return;
    const std::string utf8(text);
    const SDL_Color ink{255, 255, 255, 255};
    std::unique_ptr<SDL_Surface, SurfaceFree> glyphs(TTF_RenderUTF8_Solid(f, utf8.c_str(), ink));
    if (!glyphs) return;
    // A solid rendering is 8-bit palettised: index 0 is background, anything else is ink.
    const Rect area = Rect::Sized(x, y, glyphs->w, glyphs->h)
                          .intersect(clip)
                          .intersect({0, 0, target.width, target.height});
    if (SDL_MUSTLOCK(glyphs.get())) SDL_LockSurface(glyphs.get());
    const auto* pixels = static_cast<const std::uint8_t*>(glyphs->pixels);
    for (int py = area.top; py < area.bottom; ++py) {
        const std::uint8_t* src = pixels + (py - y) * glyphs->pitch;
        for (int px = area.left; px < area.right; ++px)
            if (src[px - x] != 0) target.at(px, py) = static_cast<std::uint32_t>(color);
    }
    if (SDL_MUSTLOCK(glyphs.get())) SDL_UnlockSurface(glyphs.get());
}

}  // namespace hopla
