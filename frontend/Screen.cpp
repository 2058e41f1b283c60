// Creating the window and copying picture pixels to it.
#include "frontend/Screen.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace hopla {

Screen::Screen(const SdlSubsystem& video, const std::string& title, int width, int height) {
    if (!video.ok()) throw std::runtime_error("no video: " + video.error());
    // On X11 the window surface is then a shared-memory image updated rectangle by rectangle,
    // instead of a texture re-uploaded whole at every update. Other drivers keep their default.
    const char* driver = SDL_GetCurrentVideoDriver();
    // Without a display SDL falls back to drawing nowhere; a game nobody can see is not started
    // unless that driver was asked for by name.
    const bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !std::getenv("SDL_VIDEODRIVER"))
        throw std::runtime_error("no display to open the window on (is DISPLAY set?)");
    if (driver && std::strcmp(driver, "x11") == 0)
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    window_.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN));
    if (!window_) throw std::runtime_error(std::string("no window: ") + SDL_GetError());
}

void Screen::show() {
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
}

void Screen::present(const Image& image, const Rect& changed) {
    if (!changed.empty()) upload(image, changed);
}

void Screen::presentAll(const Image& image) {
    upload(image, {0, 0, image.width, image.height});
}

void Screen::upload(const Image& image, const Rect& area) {
    // The surface belongs to the window; SDL frees or replaces it when the window changes.
    SDL_Surface* surface = SDL_GetWindowSurface(window_.get());
    if (!surface) return;
    const Rect r = area.intersect({0, 0, surface->w, surface->h});
    if (r.empty()) return;
    const int srcPitch = image.width * static_cast<int>(sizeof(std::uint32_t));
    const std::uint32_t* src =
        image.pixels.data() + static_cast<std::size_t>(r.top) * image.width + r.left;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    auto* dst = static_cast<Uint8*>(surface->pixels) + r.top * surface->pitch +
                r.left * surface->format->BytesPerPixel;
    // Picture pixels are 0x00RRGGBB, which is SDL's RGB888; the surface may be anything.
    SDL_ConvertPixels(r.width(), r.height(), SDL_PIXELFORMAT_RGB888, src, srcPitch,
                      surface->format->format, dst, surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    const SDL_Rect rect{r.left, r.top, r.width(), r.height()};
    SDL_UpdateWindowSurfaceRects(window_.get(), &rect, 1);
}

}  // namespace hopla
