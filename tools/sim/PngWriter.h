// Saving an image as an 8-bit RGB PNG file (hopla-sim's `shot`).
#pragma once

#include <string>

#include "toolkit/Image.h"

namespace hopla {

// Writes the image; throws std::runtime_error saying why when the file cannot be written.
void WritePng(const Image& image, const std::string& path);

}  // namespace hopla
