// The game's window on screen: borderless, centred, showing a picture's pixels.
#pragma once

#include <string>

#include "frontend/SdlHandles.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"

namespace hopla {

// Presents through the window's own surface: a changed rectangle is converted into it and only
// that rectangle is sent to the window system. There is no renderer and so no vsync wait.
class Screen {
  public:
    // Creates the window hidden; throws std::runtime_error when the video subsystem is not
    // available or the window cannot be made.
    Screen(const SdlSubsystem& video, const std::string& title, int width, int height);
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void show();
    // Sends the area of the image that changed since the last presentation.
    void present(const Image& image, const Rect& changed);
    // Sends the whole image (after the window was exposed).
    void presentAll(const Image& image);

  private:
    void upload(const Image& image, const Rect& area);

    WindowHandle window_;
};

}  // namespace hopla
