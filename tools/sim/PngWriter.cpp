// hopla-sim's shots: the image's pixels as RGB samples, written by the tools' PNG writer.
#include "tools/sim/PngWriter.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "toolkit/png/PngWrite.h"

namespace hopla {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

void WritePng(const Image& image, const std::string& path) {
    if (image.empty()) throw std::runtime_error("empty image");
    std::vector<std::uint8_t> rgb(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint32_t pixel = image.pixels[i];
        rgb[3 * i] = static_cast<std::uint8_t>(pixel >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(pixel >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(pixel);
    }
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot open " + path + " for writing");
    const std::string error = WritePngTo(file.get(), {image.width, image.height, 3, rgb.data()});
    if (!error.empty()) throw std::runtime_error("cannot write " + path + ": " + error);
    if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace hopla
