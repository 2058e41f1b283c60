// Fuzzer of the BMP decoder.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "toolkit/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<hopla::Image> image = hopla::DecodeBmp({data, size});
    if (image && (image->empty() ||
                  image->pixels.size() != static_cast<std::size_t>(image->width) * image->height))
        __builtin_trap();
    return 0;
}
