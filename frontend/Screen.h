// The game's window on screen: borderless and centred, or the whole screen; the picture in it
// enlarged by a whole number or fitted sharply, centred on black bars when it does not fill the
// window.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/SdlHandles.h"
#include "shell/Scaling.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"

namespace hopla {

// Presents through the window's own surface: a changed rectangle of the picture is enlarged into
// it and only that rectangle is sent to the window system. There is no renderer and so no vsync
// wait. The picture's scale and place follow the window's size: in a window of N times the
// picture it fills the window; on the whole screen it takes the largest whole scale that fits,
// or, fitted, the largest size of its shape (see ScalingMode).
class Screen {
  public:
    // Creates the window hidden: pictureW x pictureH times `scale`, centred on the first display,
    // or covering that display when `fullscreen`. Throws std::runtime_error when the video
    // subsystem is not available or the window cannot be made.
    Screen(const SdlSubsystem& video, const std::string& title, int pictureW, int pictureH,
           int scale, bool fullscreen, ScalingMode scaling = ScalingMode::Integer);
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void show();
    // Sends the area of the image that changed since the last presentation (all of it, bars
    // included, when the window's size changed since).
    void present(const Image& image, const Rect& changed);
    // Sends the whole window: bars and picture (after the window was exposed or resized).
    void presentAll(const Image& image);

    bool fullscreen() const;
    // The whole screen of the window's display at its own resolution, or back to the window at
    // its last place. The window manager does it; on an X server without one the window covers
    // its display by itself.
    void setFullscreen(bool on);
    // The scale of the window when not on the whole screen.
    int windowScale() const { return windowScale_; }
    // Resizes the window (not on the whole screen) to `scale` times the picture and centres it
    // on its display.
    void setWindowScale(int scale);
    // Centres the window on its display.
    void centre();
    ScalingMode scaling() const { return scaling_; }
    // How the picture fills the window from the next presentation on (presentAll after it).
    void setScaling(ScalingMode mode);
    // The largest scale whose window fits the usable area of a display (1..kMaxScale); the
    // window's own display when displayIndex is negative.
    int fittingScale(int displayIndex = -1) const;

    // Where the picture was last put in the window.
    const Layout& layout() const { return layout_; }
    int pictureWidth() const { return pictureW_; }
    int pictureHeight() const { return pictureH_; }
    SDL_Window* window() const { return window_.get(); }

  private:
    void upload(const Image& image, const Rect& area, bool whole);
    // The changed part of the picture into the surface in blocks, or fitted; returns the
    // surface's area written.
    Rect blocks(const Image& image, const Rect& area, bool whole, SDL_Surface* surface);
    Rect fitted(const Image& image, const Rect& area, bool whole, SDL_Surface* surface);

    WindowHandle window_;
    int pictureW_, pictureH_;
    int windowScale_;
    Layout layout_;
    int surfaceW_ = -1, surfaceH_ = -1;  // size of the surface the layout was made for
    ScalingMode scaling_;
    FitScaler fit_;                          // for a fitted layout
    std::vector<std::uint8_t> scratch_;      // converted pixels, for surfaces of other formats
    std::vector<std::uint32_t> fitScratch_;  // a fitted picture, for surfaces of other formats
    bool coversDisplay_ = false;             // on the whole screen without a window manager
    SDL_Rect windowed_{};                    // and where it was before
};

}  // namespace hopla
