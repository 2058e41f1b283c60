// A pixel rectangle with inclusive-exclusive bounds, used for clipping and dirty areas.
#pragma once

#include <algorithm>

namespace hopla {

// Covers x in [left, right) and y in [top, bottom); empty when either span is empty.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect Sized(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect intersect(const Rect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    bool overlaps(const Rect& o) const { return !intersect(o).empty(); }
    bool operator==(const Rect&) const = default;
};

}  // namespace hopla
