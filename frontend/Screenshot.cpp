// Naming and writing screenshots.
#include "frontend/Screenshot.h"

#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "toolkit/FilePath.h"
#include "toolkit/png/PngWrite.h"

namespace hopla {
namespace {

// More screenshots than this within one second means something else is wrong.
constexpr int kMostPerSecond = 1000;

}  // namespace

std::string ScreenshotName(const LocalTime& t, int nth) {
    char name[64];
    std::snprintf(name, sizeof name, "hopla-%04d-%02d-%02d-%02d-%02d-%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    std::string result = name;
    if (nth > 1) result += "-" + std::to_string(nth);
    return result + ".png";
}

SavedScreenshot SaveScreenshot(const Image& picture, const std::string& dir,
                               const LocalTime& time) {
    SavedScreenshot saved;
    if (dir.empty()) {
        saved.error = "no folder for screenshots (HOME is not set)";
        return saved;
    }
    std::vector<std::uint8_t> rgb(picture.pixels.size() * 3);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(picture.pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(picture.pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(picture.pixels[i]);
    }
    std::vector<std::uint8_t> png;
    try {
        png = EncodePng({picture.width, picture.height, 3, rgb.data()});
    } catch (const std::runtime_error& e) {
        saved.error = std::string("cannot encode the screenshot: ") + e.what();
        return saved;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    for (int nth = 1; nth <= kMostPerSecond; ++nth) {
        const std::string path = JoinPath(dir, ScreenshotName(time, nth));
        const NewFile file = WriteNewFile(path, bytes);
        if (file.written) {
            saved.path = path;
            return saved;
        }
        if (!file.existed) {
            saved.error = file.error;
            return saved;
        }
    }
    saved.error = "too many screenshots in " + dir + " within one second";
    return saved;
}

}  // namespace hopla
