// The picture as PNG bytes, for screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Image.h"

namespace hopla {

// The image as an 8-bit RGB PNG; empty with `error` set (libpng's words) when it cannot be
// encoded. Called by the screenshot when F12 is pressed.
std::vector<std::uint8_t> EncodePng(const Image& image, std::string& error);

}  // namespace hopla
