// A palettised drawing surface for the generated artwork: pixels are palette indices.
#pragma once

#include <cstdint>
#include <vector>

namespace hopla::gen {

struct Rgb8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb8&) const = default;
};

class IndexedCanvas {
  public:
    IndexedCanvas(int width, int height, Rgb8 fill);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<Rgb8>& palette() const { return palette_; }
    // Palette index of every pixel, row by row from the top.
    const std::vector<std::uint8_t>& indices() const { return indices_; }

    // Paints one pixel; points outside the canvas are ignored. A colour not yet in the
    // palette is appended to it.
    void Put(int x, int y, Rgb8 color);
    Rgb8 Get(int x, int y) const;
    // Both corners included.
    void FillRect(int x1, int y1, int x2, int y2, Rgb8 color);

  private:
    std::uint8_t IndexOf(Rgb8 color);

    int width_;
    int height_;
    std::vector<Rgb8> palette_;
    std::vector<std::uint8_t> indices_;
};

// Draws into one square cell of a sheet with cell-local coordinates.
class CellPainter {
  public:
    CellPainter(IndexedCanvas& canvas, int originX, int originY, int size)
        : canvas_(canvas), ox_(originX), oy_(originY), size_(size) {}

    int size() const { return size_; }
    // Points outside the cell are ignored, so shapes may overrun its edge safely.
    void Put(int x, int y, Rgb8 color);
    Rgb8 Get(int x, int y) const { return canvas_.Get(ox_ + x, oy_ + y); }
    void FillRect(int x1, int y1, int x2, int y2, Rgb8 color);
    void Fill(Rgb8 color) { FillRect(0, 0, size_ - 1, size_ - 1, color); }
    // One-pixel Bresenham line, both ends included.
    void Line(int x1, int y1, int x2, int y2, Rgb8 color);

  private:
    IndexedCanvas& canvas_;
    int ox_;
    int oy_;
    int size_;
};

}  // namespace hopla::gen
