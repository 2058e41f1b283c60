// Shapes as pixel masks, painted as raised ink: lit top-left rim, face, and a drop shadow.
#pragma once

#include <vector>

#include "tools/gen-assets/IndexedCanvas.h"

namespace hopla::gen {

class Mask {
  public:
    explicit Mask(int size) : size_(size), bits_(static_cast<std::size_t>(size) * size, false) {}

    int size() const { return size_; }
    // Points outside the mask are ignored by Set and read as unset by Test.
    void Set(int x, int y);
    bool Test(int x, int y) const;

  private:
    int size_;
    std::vector<bool> bits_;
};

// The shadow is the mask moved one pixel right and down; the rim is every mask pixel whose
// left or upper neighbour is outside the mask.
void PaintEmbossed(CellPainter& cell, const Mask& mask, Rgb8 face, Rgb8 light, Rgb8 shadow);

}  // namespace hopla::gen
