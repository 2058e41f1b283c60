// Writes a palettised canvas as an uncompressed Windows BMP file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/gen-assets/IndexedCanvas.h"

namespace hopla::gen {

// The file bytes: BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER, a palette of exactly the
// canvas's colours, then bottom-up rows padded to 4 bytes. bitsPerPixel is 4 or 8 and must
// hold every palette index.
std::vector<std::uint8_t> EncodeIndexedBmp(const IndexedCanvas& canvas, int bitsPerPixel);

// Returns false if the file cannot be written.
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace hopla::gen
