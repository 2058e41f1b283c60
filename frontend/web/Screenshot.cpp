// Screenshots in the browser: a page cannot put files into the player's pictures folder, so the
// picture is offered as a download, a PNG the browser encodes, named as on the desktop.
#include <emscripten.h>

#include <cstdio>

#include "frontend/Screenshot.h"

namespace hopla {
namespace {

// clang-format off
// Draws the 0x00RRGGBB pixels into a canvas of their own and starts the download of its PNG.
EM_JS(void, HoplaDownloadPicture, (const unsigned* pixels, int width, int height,
                                   const char* name), {
    var canvas = document.createElement("canvas");
    canvas.width = width;
    canvas.height = height;
    var context = canvas.getContext("2d");
    var image = context.createImageData(width, height);
    var from = HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height);
    for (var i = 0; i < from.length; i++) {
        var p = from[i];
        image.data[4 * i] = (p >> 16) & 255;
        image.data[4 * i + 1] = (p >> 8) & 255;
        image.data[4 * i + 2] = p & 255;
        image.data[4 * i + 3] = 255;
    }
    context.putImageData(image, 0, 0);
    var file = UTF8ToString(name);
    canvas.toBlob(function(blob) {
        var link = document.createElement("a");
        link.href = URL.createObjectURL(blob);
        link.download = file;
        link.click();
        setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
    }, "image/png");
});
// clang-format on

}  // namespace

SavedScreenshot SaveScreenshot(const Image& picture, const std::string&, const LocalTime& t) {
    char name[64];
    std::snprintf(name, sizeof name, "hopla-%04d-%02d-%02d-%02d-%02d-%02d.png", t.year, t.month,
                  t.day, t.hour, t.minute, t.second);
    HoplaDownloadPicture(picture.pixels.data(), picture.width, picture.height, name);
    return {name, ""};
}

}  // namespace hopla
