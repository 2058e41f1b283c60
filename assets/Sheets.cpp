// Decoding of the built-in artwork sheets.
#include "assets/Sheets.h"

#include <cstdio>
#include <cstdlib>

#include "toolkit/Bmp.h"

namespace hopla::assets {
namespace {

Image DecodeBuiltIn(std::span<const std::uint8_t> bytes, const char* name) {
    std::optional<Image> image = DecodeBmp(bytes);
    if (!image) {
        std::fprintf(stderr, "hopla: the built-in %s is not a readable BMP image\n", name);
        std::abort();
    }
    return *std::move(image);
}

}  // namespace

Image TileSheet() {
    return DecodeBuiltIn(tiles_bmp(), "tile sheet");
}

Image EndingSheet() {
    return DecodeBuiltIn(ending_bmp(), "ending sheet");
}

}  // namespace hopla::assets
