// Pixel masks and their raised painting with rim light and drop shadow.
#include "tools/gen-assets/Emboss.h"

namespace hopla::gen {

void Mask::Set(int x, int y) {
    if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
    bits_[static_cast<std::size_t>(y) * size_ + x] = true;
}

bool Mask::Test(int x, int y) const {
    if (x < 0 || y < 0 || x >= size_ || y >= size_) return false;
    return bits_[static_cast<std::size_t>(y) * size_ + x];
}

void PaintEmbossed(CellPainter& cell, const Mask& mask, Rgb8 face, Rgb8 light, Rgb8 shadow) {
    for (int y = 0; y < mask.size(); ++y)
        for (int x = 0; x < mask.size(); ++x)
            if (mask.Test(x, y)) cell.Put(x + 1, y + 1, shadow);
    for (int y = 0; y < mask.size(); ++y) {
        for (int x = 0; x < mask.size(); ++x) {
            if (!mask.Test(x, y)) continue;
            const bool rim = !mask.Test(x - 1, y) || !mask.Test(x, y - 1);
            cell.Put(x, y, rim ? light : face);
        }
    }
}

}  // namespace hopla::gen
