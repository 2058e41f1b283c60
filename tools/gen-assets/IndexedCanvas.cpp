// Palettised drawing surface and per-cell painter used by the sheet generators.
#include "tools/gen-assets/IndexedCanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace hopla::gen {

IndexedCanvas::IndexedCanvas(int width, int height, Rgb8 fill)
    : width_(width),
      height_(height),
      palette_{fill},
      indices_(static_cast<std::size_t>(width) * height, 0) {}

std::uint8_t IndexedCanvas::IndexOf(Rgb8 color) {
    auto it = std::find(palette_.begin(), palette_.end(), color);
    if (it != palette_.end()) return static_cast<std::uint8_t>(it - palette_.begin());
    if (palette_.size() == 256) {
        std::fprintf(stderr, "gen-assets: more than 256 colours on one sheet\n");
        std::exit(1);
    }
    palette_.push_back(color);
    return static_cast<std::uint8_t>(palette_.size() - 1);
}

void IndexedCanvas::Put(int x, int y, Rgb8 color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    indices_[static_cast<std::size_t>(y) * width_ + x] = IndexOf(color);
}

Rgb8 IndexedCanvas::Get(int x, int y) const {
    return palette_[indices_[static_cast<std::size_t>(y) * width_ + x]];
}

void IndexedCanvas::FillRect(int x1, int y1, int x2, int y2, Rgb8 color) {
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
        for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) Put(x, y, color);
}

void CellPainter::Put(int x, int y, Rgb8 color) {
    if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
    canvas_.Put(ox_ + x, oy_ + y, color);
}

void CellPainter::FillRect(int x1, int y1, int x2, int y2, Rgb8 color) {
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
        for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) Put(x, y, color);
}

void CellPainter::Line(int x1, int y1, int x2, int y2, Rgb8 color) {
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Put(x1, y1, color);
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

}  // namespace hopla::gen
