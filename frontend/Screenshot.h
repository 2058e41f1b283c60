// Screenshots: the game's 800 x 600 picture as a PNG under the screenshots folder, named by the
// date and time, never over another file.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "toolkit/Image.h"

namespace hopla {

// The name of the `nth` screenshot (from 1) taken in the second `time`:
// "hopla-2026-12-08-10-31-05.png", then "hopla-2026-12-08-10-31-05-2.png" and so on.
std::string ScreenshotName(const LocalTime& time, int nth);

// What saving a screenshot came to: the path of the new file, or one line saying why not.
struct SavedScreenshot {
    std::string path;
    std::string error;
};

// Saves `picture` in `dir` (created when missing) under the first name for `time` that no file
// has. The window's loop calls it when F12 is pressed.
SavedScreenshot SaveScreenshot(const Image& picture, const std::string& dir, const LocalTime& time);

}  // namespace hopla
