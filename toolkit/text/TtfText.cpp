// Rendering text with SDL2_ttf: solid (unblended) glyphs copied into a picture, clipped.
#include "toolkit/text/TtfText.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/Platform.h"

namespace hopla {
namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// Renderings kept at most; the game shows a few dozen different captions. Beyond this the
// store starts afresh.
constexpr std::size_t kKeptRenderings = 64;

}  // namespace

void TtfText::FontCloser::operator()(_TTF_Font* f) const {
    TTF_CloseFont(f);
}

TtfText::TtfText()
    : TtfText(&FindFontFile, [](std::string_view line) {
          // Every renderer of the process would say the same.
          static std::once_flag once;
          std::call_once(once,
                         [&] { std::fprintf(stderr, "%.*s\n", int(line.size()), line.data()); });
      }) {}

TtfText::TtfText(FontFinder find, Warning warn) : find_(std::move(find)), warn_(std::move(warn)) {
    ready_ = TTF_Init() == 0;
}

TtfText::~TtfText() {
    fonts_.clear();
    if (ready_) TTF_Quit();
}

std::string TtfText::fileFor(const std::string& face) const {
    auto [it, fresh] = files_.try_emplace(face);
    if (fresh) it->second = find_(face);
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
        if (!handle && !warned_ && warn_) {
            warned_ = true;
            warn_("hopla: " + NoFontAdvice() + "; texts stay blank");
        }
        it = fonts_.emplace(key, std::move(handle)).first;
    }
    return it->second.get();
}

int TtfText::lineHeight(const Font& font) const {
    TTF_Font* f = open(font);
    return f ? TTF_FontHeight(f) : font.points * 96 / 72;
}

int TtfText::width(std::string_view text, const Font& font) const {
    TTF_Font* f = open(font);
    int w = 0, h = 0;
    if (!f || TTF_SizeUTF8(f, std::string(text).c_str(), &w, &h) != 0) return 0;
    return w;
}

const TtfText::Rendering* TtfText::render(TTF_Font* f, const Font& font,
                                          std::string_view text) const {
    auto key =
        std::make_pair(std::make_tuple(font.face, font.points, font.bold), std::string(text));
    if (auto it = renderings_.find(key); it != renderings_.end()) return &it->second;
    const SDL_Color white{255, 255, 255, 255};
    std::unique_ptr<SDL_Surface, SurfaceFree> glyphs(
        TTF_RenderUTF8_Solid(f, key.second.c_str(), white));
    if (!glyphs) return nullptr;
    // A solid rendering is 8-bit palettised: index 0 is background, anything else is ink.
    Rendering r;
    r.width = glyphs->w;
    r.height = glyphs->h;
    r.ink.resize(static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height));
    if (SDL_MUSTLOCK(glyphs.get())) SDL_LockSurface(glyphs.get());
    const auto* pixels = static_cast<const std::uint8_t*>(glyphs->pixels);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            r.ink[static_cast<std::size_t>(y) * r.width + x] = pixels[y * glyphs->pitch + x] != 0;
    if (SDL_MUSTLOCK(glyphs.get())) SDL_UnlockSurface(glyphs.get());
    if (renderings_.size() >= kKeptRenderings) renderings_.clear();
    return &renderings_.emplace(std::move(key), std::move(r)).first->second;
}

void TtfText::draw(Image& target, const Rect& clip, int x, int y, std::string_view text,
                   const Font& font, Color color) const {
    TTF_Font* f = open(font);
    if (!f || text.empty()) return;
    const Rendering* r = render(f, font, text);
    if (!r) return;
    const Rect area = Rect::Sized(x, y, r->width, r->height)
                          .intersect(clip)
                          .intersect({0, 0, target.width, target.height});
    for (int py = area.top; py < area.bottom; ++py) {
        const std::uint8_t* ink = r->ink.data() + static_cast<std::size_t>(py - y) * r->width;
        for (int px = area.left; px < area.right; ++px)
            if (ink[px - x]) target.at(px, py) = static_cast<std::uint32_t>(color);
    }
}

}  // namespace hopla
