// Decoding of uncompressed Windows BMP images, as used for the built-in artwork sheets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "toolkit/Image.h"

namespace hopla {

// Accepts a BITMAPFILEHEADER followed by a BITMAPINFOHEADER (or one of its longer
// successors), uncompressed, at 1, 4 or 8 bits per pixel with a palette or at 24 or 32 bits
// per pixel (the fourth byte is ignored), with rows stored bottom-up or top-down.
// Returns nullopt for anything else, for truncated data and for palette indices beyond the
// palette; never reads outside `data`.
std::optional<Image> DecodeBmp(std::span<const std::uint8_t> data);

}  // namespace hopla
