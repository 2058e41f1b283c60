// PNG writing on libpng, its write and info structures owned by RAII, to a file or to memory.
#include "toolkit/png/PngWrite.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>

namespace hopla {
namespace {

// libpng's write and info structures, destroyed together.
class PngWriteStruct {
  public:
    PngWriteStruct()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriteStruct() {
        png_destroy_write_struct(png_ ? &png_ : nullptr, info_ ? &info_ : nullptr);
    }
    PngWriteStruct(const PngWriteStruct&) = delete;
    PngWriteStruct& operator=(const PngWriteStruct&) = delete;

    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }
    const std::string& error() const { return error_; }

  private:
    // libpng reports through these; the error handler must not return, so it jumps back to
    // the setjmp in WriteImage.
    static void OnError(png_structp png, png_const_charp message) {
        static_cast<PngWriteStruct*>(png_get_error_ptr(png))->error_ = message;
        png_longjmp(png, 1);
    }
    static void OnWarning(png_structp, png_const_charp) {}

    png_structp png_;
    png_infop info_;
    std::string error_;
};

// Where the bytes go: a file, or a vector through libpng's write callback.
struct Sink {
    std::FILE* file = nullptr;
    std::vector<std::uint8_t>* bytes = nullptr;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// Every libpng call that may fail, after the setjmp. Nothing with a destructor lives in this
// frame, so jumping back out of libpng skips no clean-up.
bool WriteImage(PngWriteStruct& write, Sink sink, const PngPixels& pixels,
                const PngPacking& packing) {
    png_structp png = write.png();
    png_infop info = write.info();
    if (setjmp(png_jmpbuf(png))) return false;
    if (sink.file) {
        png_init_io(png, sink.file);
    } else {
        png_set_write_fn(png, sink.bytes, AppendBytes, FlushNothing);
        // One IDAT chunk: a buffer that holds the rows holds their stream too (deflate adds at
        // most five bytes a 16 kB block, and a few for the stream).
        const std::size_t raw = static_cast<std::size_t>(pixels.height) *
                                (1 + static_cast<std::size_t>(pixels.width) * pixels.channels);
        png_set_compression_buffer_size(png, raw + raw / 1000 + 64);
    }
    if (packing.unfiltered) png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    if (packing.level >= 0) png_set_compression_level(png, packing.level);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width),
                 static_cast<png_uint_32>(pixels.height), 8,
                 pixels.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(pixels.width) * pixels.channels;
    for (int y = 0; y < pixels.height; ++y)
        png_write_row(png, pixels.samples + static_cast<std::size_t>(y) * stride);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::string WritePngTo(std::FILE* file, const PngPixels& pixels, const PngPacking& packing) {
    PngWriteStruct write;
    if (!write.ok()) return "libpng could not start";
    if (!WriteImage(write, {file, nullptr}, pixels, packing)) return write.error();
    return {};
}

std::vector<std::uint8_t> EncodePng(const PngPixels& pixels, const PngPacking& packing) {
    std::vector<std::uint8_t> bytes;
    PngWriteStruct write;
    if (!write.ok()) throw std::runtime_error("libpng could not start");
    if (!WriteImage(write, {nullptr, &bytes}, pixels, packing))
        throw std::runtime_error(write.error());
    return bytes;
}

}  // namespace hopla
