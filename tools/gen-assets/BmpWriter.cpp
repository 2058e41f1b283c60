// Encoding of palettised BMP files and writing of byte buffers to disk.
#include "tools/gen-assets/BmpWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace hopla::gen {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeIndexedBmp(const IndexedCanvas& canvas, int bitsPerPixel) {
    const auto& palette = canvas.palette();
    if ((bitsPerPixel != 4 && bitsPerPixel != 8) || palette.size() > (1u << bitsPerPixel)) {
        std::fprintf(stderr, "gen-assets: %zu colours do not fit %d bits per pixel\n",
                     palette.size(), bitsPerPixel);
        std::exit(1);
    }
    const std::uint32_t w = canvas.width();
    const std::uint32_t h = canvas.height();
    const std::uint32_t stride = (w * bitsPerPixel + 31) / 32 * 4;
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(palette.size()) * 4;
    const std::uint32_t dataOffset = 14 + 40 + paletteBytes;
    const std::uint32_t fileSize = dataOffset + stride * h;

    std::vector<std::uint8_t> out;
    out.reserve(fileSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);  // reserved
    Put32(out, dataOffset);

    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, w);
    Put32(out, h);  // positive: bottom-up rows
    Put16(out, 1);  // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0);  // BI_RGB, uncompressed
    Put32(out, stride * h);
    Put32(out, 3780);  // 96 dpi in pixels per metre
    Put32(out, 3780);
    Put32(out, static_cast<std::uint32_t>(palette.size()));  // colours used
    Put32(out, 0);                                           // all colours important

    for (const Rgb8& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }

    const auto& indices = canvas.indices();
    for (std::uint32_t row = 0; row < h; ++row) {
        const std::uint32_t y = h - 1 - row;
        std::vector<std::uint8_t> line(stride, 0);
        for (std::uint32_t x = 0; x < w; ++x) {
            const std::uint8_t index = indices[y * w + x];
            if (bitsPerPixel == 8) {
                line[x] = index;
            } else {
                line[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace hopla::gen
