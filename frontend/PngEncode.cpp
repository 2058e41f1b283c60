// PNG encoding on libpng into memory.
#include "frontend/PngEncode.h"

#include <png.h>

#include <csetjmp>

namespace hopla {
namespace {

// libpng's write and info structures, destroyed together; its errors jump back to the setjmp in
// Encode with the message kept.
struct PngWrite {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, OnError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<std::uint8_t> bytes;
    std::string error;

    PngWrite() = default;
    PngWrite(const PngWrite&) = delete;
    PngWrite& operator=(const PngWrite&) = delete;
    ~PngWrite() { png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr); }

    static void OnError(png_structp png, png_const_charp message) {
        static_cast<PngWrite*>(png_get_error_ptr(png))->error = message;
        png_longjmp(png, 1);
    }
    static void OnWrite(png_structp png, png_bytep data, png_size_t length) {
        auto& bytes = static_cast<PngWrite*>(png_get_io_ptr(png))->bytes;
        bytes.insert(bytes.end(), data, data + length);
    }
    static void OnFlush(png_structp) {}
};

// Every libpng call that may fail, after the setjmp; nothing with a destructor lives in this
// frame, so jumping back out of libpng skips no clean-up.
bool Encode(PngWrite& write, const Image& image, png_bytep rgb) {
    if (setjmp(png_jmpbuf(write.png))) return false;
    png_set_write_fn(write.png, &write, PngWrite::OnWrite, PngWrite::OnFlush);
    png_set_IHDR(write.png, write.info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(write.png, write.info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(write.png, rgb + static_cast<std::size_t>(y) * image.width * 3);
    png_write_end(write.png, nullptr);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image, std::string& error) {
    if (image.empty()) {
        error = "empty image";
        return {};
    }
    std::vector<png_byte> rgb(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        rgb[3 * i] = static_cast<png_byte>(image.pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<png_byte>(image.pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<png_byte>(image.pixels[i]);
    }
    PngWrite write;
    if (!write.png || !write.info) {
        error = "out of memory";
        return {};
    }
    if (!Encode(write, image, rgb.data())) {
        error = write.error.empty() ? "cannot encode" : write.error;
        return {};
    }
    return std::move(write.bytes);
}

}  // namespace hopla
