// Creating the window, sizing it, and enlarging picture pixels into it.
#include "frontend/Screen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/Platform.h"
#include "shell/SettingRows.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace hopla {

namespace {

#ifdef __EMSCRIPTEN__
// clang-format off
// In the browser the page puts its own container on the whole screen (Module.hoplaFullscreen in
// frontend/web/index.html) and fits the canvas into it; SDL's own whole screen would resize
// the canvas behind the page's back. The browser leaves it by Esc too, so it is asked each time.
EM_JS(int, HoplaPageFullscreen, (), { return document.fullscreenElement ? 1 : 0; });
EM_JS(void, HoplaSetPageFullscreen, (int on), {
    if (Module.hoplaFullscreen) Module.hoplaFullscreen(!!on);
});
// clang-format on
#endif

// SDL settles on its invisible driver without saying why the visible ones failed; each of them,
// asked by name, gives its own reason. Leaves the video subsystem shut down.
std::string WhyNoDisplay() {
    std::string why;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        why += std::string(why.empty() ? "" : ", ") + variable +
               (value ? "=" + std::string(value) : " unset");
    }
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* name = SDL_GetVideoDriver(i);
        if (!name || std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
            std::strcmp(name, "evdev") == 0)
            continue;
        if (SDL_VideoInit(name) == 0) {
            // A display that was restarting (an X server resetting itself) answers now.
            SDL_VideoQuit();
            why += std::string("; ") + name + " refused at first and answered when asked again";
            continue;
        }
        why += std::string("; ") + SDL_GetError();
    }
    return why;
}

}  // namespace

Screen::Screen(const SdlSubsystem& video, const std::string& title, int pictureW, int pictureH,
               int scale, bool fullscreen, ScalingMode scaling)
    : pictureW_(pictureW), pictureH_(pictureH), windowScale_(scale), scaling_(scaling) {
    if (!video.ok()) throw std::runtime_error("no video: " + video.error());
    // On X11 the window surface is then a shared-memory image updated rectangle by rectangle,
    // instead of a texture re-uploaded whole at every update. Other drivers keep their default.
    const char* driver = SDL_GetCurrentVideoDriver();
    // Without a display SDL falls back to drawing nowhere; a game nobody can see is not started
    // unless that driver was asked for by name. Asked as SDL asks: on Windows a variable set
    // by the program itself (SDL_setenv) is in the system's environment, not the C library's.
    const bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !SDL_getenv("SDL_VIDEODRIVER"))
        throw std::runtime_error("no display to open the window on (" + WhyNoDisplay() + ")");
    if (driver && std::strcmp(driver, "x11") == 0)
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    // The whole screen is the desktop's own mode: no mode switch, and a window that loses focus
    // stays where it is.
    SDL_SetHintWithPriority(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0", SDL_HINT_DEFAULT);
    window_.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   pictureW * scale, pictureH * scale,
                                   SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN));
    if (!window_) throw std::runtime_error(std::string("no window: ") + SDL_GetError());
    if (driver && std::strcmp(driver, "x11") == 0) ToleratesMessagesToGoneWindows();
    layout_ = {scale, 0, 0, pictureW * scale, pictureH * scale};
    // Asked before the window is shown, so it appears on the whole screen at once.
    if (fullscreen) setFullscreen(true);
}

void Screen::show() {
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
}

bool Screen::fullscreen() const {
#ifdef __EMSCRIPTEN__
    return HoplaPageFullscreen() != 0;
#endif
    return coversDisplay_ || (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                                 SDL_WINDOW_FULLSCREEN_DESKTOP;
}

void Screen::setFullscreen(bool on) {
    if (on == fullscreen()) return;
#ifdef __EMSCRIPTEN__
    HoplaSetPageFullscreen(on ? 1 : 0);
    return;
#endif
    if (WindowManagerRuns(window_.get()) != false) {
        SDL_SetWindowFullscreen(window_.get(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        return;
    }
    // Nobody to ask: the borderless window takes its display's bounds itself, and gives them back.
    SDL_Window* window = window_.get();
    if (on) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &bounds) != 0)
            return;
        SDL_GetWindowPosition(window, &windowed_.x, &windowed_.y);
        SDL_GetWindowSize(window, &windowed_.w, &windowed_.h);
        SDL_SetWindowSize(window, bounds.w, bounds.h);
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
    } else {
        SDL_SetWindowSize(window, windowed_.w, windowed_.h);
        SDL_SetWindowPosition(window, windowed_.x, windowed_.y);
    }
    coversDisplay_ = on;
}

void Screen::setWindowScale(int scale) {
    windowScale_ = scale;
    if (fullscreen()) return;  // taken up when the window comes back
    SDL_SetWindowSize(window_.get(), pictureW_ * scale, pictureH_ * scale);
    centre();
}

void Screen::centre() {
    if (fullscreen()) return;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_.get()));
    SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

void Screen::setScaling(ScalingMode mode) {
    scaling_ = mode;
    surfaceW_ = surfaceH_ = -1;  // laid out afresh at the next presentation
}

int Screen::fittingScale(int displayIndex) const {
    if (displayIndex < 0) displayIndex = std::max(0, SDL_GetWindowDisplayIndex(window_.get()));
    const std::optional<DisplayArea> usable = UsableArea(displayIndex);
    if (!usable) return kMinScale;
    return LargestScale(usable->width, usable->height, pictureW_, pictureH_, kMaxScale);
}

void Screen::present(const Image& image, const Rect& changed) {
    if (!changed.empty()) upload(image, changed, false);
}

void Screen::presentAll(const Image& image) {
    upload(image, {0, 0, image.width, image.height}, true);
}

void Screen::upload(const Image& image, const Rect& area, bool whole) {
    // The surface belongs to the window; SDL frees or replaces it when the window changes.
    SDL_Surface* surface = SDL_GetWindowSurface(window_.get());
    if (!surface) return;
    if (surface->w != surfaceW_ || surface->h != surfaceH_) {
        layout_ = LayoutFor(scaling_, surface->w, surface->h, pictureW_, pictureH_);
        surfaceW_ = surface->w;
        surfaceH_ = surface->h;
        whole = true;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    if (whole) {
        // The bars around the picture are black.
        const Rect pic = PictureArea(layout_);
        const SDL_Rect bars[] = {
            {0, 0, surface->w, std::max(0, pic.top)},
            {0, pic.bottom, surface->w, std::max(0, surface->h - pic.bottom)},
            {0, pic.top, std::max(0, pic.left), pic.height()},
            {pic.right, pic.top, std::max(0, surface->w - pic.right), pic.height()},
        };
        const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
        for (const SDL_Rect& bar : bars)
            if (bar.w > 0 && bar.h > 0) SDL_FillRect(surface, &bar, black);
    }
    const Rect written = layout_.blocks(pictureW_, pictureH_) ? blocks(image, area, whole, surface)
                                                              : fitted(image, area, whole, surface);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (whole) {
        SDL_UpdateWindowSurface(window_.get());
    } else if (!written.empty()) {
        const SDL_Rect rect{written.left, written.top, written.width(), written.height()};
        SDL_UpdateWindowSurfaceRects(window_.get(), &rect, 1);
    }
}

Rect Screen::blocks(const Image& image, const Rect& area, bool whole, SDL_Surface* surface) {
    const int s = layout_.scale;
    // The source pixels whose blocks lie wholly on the surface.
    const Rect visible{std::max(0, (-layout_.x + s - 1) / s), std::max(0, (-layout_.y + s - 1) / s),
                       std::min(image.width, (surface->w - layout_.x) / s),
                       std::min(image.height, (surface->h - layout_.y) / s)};
    const Rect r = (whole ? Rect{0, 0, image.width, image.height} : area).intersect(visible);
    if (r.empty()) return {};
    const int bpp = surface->format->BytesPerPixel;
    auto* dst = static_cast<std::uint8_t*>(surface->pixels) +
                static_cast<std::ptrdiff_t>(layout_.y + r.top * s) * surface->pitch +
                static_cast<std::ptrdiff_t>(layout_.x + r.left * s) * bpp;
    const std::uint32_t* src =
        image.pixels.data() + static_cast<std::size_t>(r.top) * image.width + r.left;
    const std::size_t srcPitch = static_cast<std::size_t>(image.width) * sizeof(std::uint32_t);
    // Picture pixels are 0x00RRGGBB, which is SDL's RGB888, the usual X11 surface.
    if (surface->format->format == SDL_PIXELFORMAT_RGB888) {
        ScaleBlock(reinterpret_cast<const std::uint8_t*>(src), srcPitch, r.width(), r.height(), 4,
                   s, dst, static_cast<std::size_t>(surface->pitch));
    } else {
        // Another format: converted once at the picture's size, then enlarged.
        const std::size_t pitch = static_cast<std::size_t>(r.width()) * bpp;
        scratch_.resize(pitch * static_cast<std::size_t>(r.height()));
        SDL_ConvertPixels(r.width(), r.height(), SDL_PIXELFORMAT_RGB888, src,
                          static_cast<int>(srcPitch), surface->format->format, scratch_.data(),
                          static_cast<int>(pitch));
        ScaleBlock(scratch_.data(), pitch, r.width(), r.height(), bpp, s, dst,
                   static_cast<std::size_t>(surface->pitch));
    }
    return Rect::Sized(layout_.x + r.left * s, layout_.y + r.top * s, r.width() * s,
                       r.height() * s);
}

Rect Screen::fitted(const Image& image, const Rect& area, bool whole, SDL_Surface* surface) {
    const int w = layout_.width, h = layout_.height;
    if (fit_.outWidth() != w || fit_.outHeight() != h) fit_ = FitScaler(pictureW_, pictureH_, w, h);
    // A fitted layout lies within the surface: the output is drawn whole where it changed.
    const Rect out = whole ? Rect{0, 0, w, h} : fit_.outputOf(area);
    if (out.empty()) return {};
    auto* origin = static_cast<std::uint8_t*>(surface->pixels) +
                   static_cast<std::ptrdiff_t>(layout_.y) * surface->pitch +
                   static_cast<std::ptrdiff_t>(layout_.x) * surface->format->BytesPerPixel;
    if (surface->format->format == SDL_PIXELFORMAT_RGB888) {
        fit_.scale(image.pixels.data(), static_cast<std::size_t>(image.width), out,
                   reinterpret_cast<std::uint32_t*>(origin),
                   static_cast<std::size_t>(surface->pitch) / sizeof(std::uint32_t));
    } else {
        // Another format: fitted in the picture's format, then converted.
        fitScratch_.resize(static_cast<std::size_t>(w) * h);
        fit_.scale(image.pixels.data(), static_cast<std::size_t>(image.width), out,
                   fitScratch_.data(), static_cast<std::size_t>(w));
        const int bpp = surface->format->BytesPerPixel;
        SDL_ConvertPixels(out.width(), out.height(), SDL_PIXELFORMAT_RGB888,
                          fitScratch_.data() + static_cast<std::size_t>(out.top) * w + out.left,
                          w * static_cast<int>(sizeof(std::uint32_t)), surface->format->format,
                          origin + static_cast<std::ptrdiff_t>(out.top) * surface->pitch +
                              static_cast<std::ptrdiff_t>(out.left) * bpp,
                          surface->pitch);
    }
    return Rect::Sized(layout_.x + out.left, layout_.y + out.top, out.width(), out.height());
}

}  // namespace hopla
