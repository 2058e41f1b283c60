// The PNG writer on libpng, with its write and info structures and the file owned by RAII.
#include "tools/sim/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace hopla {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng's write and info structures, destroyed together.
class PngWrite {
  public:
    PngWrite()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWrite() { png_destroy_write_struct(png_ ? &png_ : nullptr, info_ ? &info_ : nullptr); }
    PngWrite(const PngWrite&) = delete;
    PngWrite& operator=(const PngWrite&) = delete;

    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }
    const std::string& error() const { return error_; }

  private:
    // libpng reports through these; the error handler must not return, so it jumps back to
    // the setjmp in WriteRows.
    static void OnError(png_structp png, png_const_charp message) {
        static_cast<PngWrite*>(png_get_error_ptr(png))->error_ = message;
        png_longjmp(png, 1);
    }
    static void OnWarning(png_structp, png_const_charp) {}

    png_structp png_;
    png_infop info_;
    std::string error_;
};

// Every libpng call that may fail, after the setjmp. Nothing with a destructor lives in this
// frame, so jumping back out of libpng skips no clean-up.
bool WriteRows(PngWrite& write, std::FILE* file, const Image& image, png_bytep rgb) {
    png_structp png = write.png();
    png_infop info = write.info();
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y) {
        png_bytep row = rgb + static_cast<std::size_t>(y) * stride;
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

void WritePng(const Image& image, const std::string& path) {
    if (image.empty()) throw std::runtime_error("empty image");
    std::vector<png_byte> rgb(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint32_t pixel = image.pixels[i];
        rgb[3 * i] = static_cast<png_byte>(pixel >> 16);
        rgb[3 * i + 1] = static_cast<png_byte>(pixel >> 8);
        rgb[3 * i + 2] = static_cast<png_byte>(pixel);
    }
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot open " + path + " for writing");
    PngWrite write;
    if (!write.ok()) throw std::runtime_error("libpng could not start");
    if (!WriteRows(write, file.get(), image, rgb.data())) {
        throw std::runtime_error("cannot write " + path + ": " + write.error());
    }
    if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace hopla
