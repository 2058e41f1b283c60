// hopla-sim's shots: the image's pixels as RGB samples, written by the tools' PNG writer.
#include "tools/sim/PngWriter.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/png/PngWrite.h"

namespace hopla {

void WritePng(const Image& image, const std::string& path) {
    if (image.empty()) throw std::runtime_error("empty image");
    std::vector<std::uint8_t> rgb(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint32_t pixel = image.pixels[i];
        rgb[3 * i] = static_cast<std::uint8_t>(pixel >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(pixel >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(pixel);
    }
    const std::vector<std::uint8_t> png = EncodePng({image.width, image.height, 3, rgb.data()});
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    if (const std::optional<std::string> error = ReplaceFile(path, bytes, kTypedPath))
        throw std::runtime_error(*error);
}

}  // namespace hopla
