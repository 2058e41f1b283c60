// Real to whole number the way the game stores reals into integers: nearest, halves to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace hopla {

// 2.5 gives 2, 3.5 gives 4, -2.5 gives -2. Values beyond int's range (and NaN) are clamped
// instead of being undefined: NaN gives 0.
inline int RoundHalfEven(double v) {
    if (std::isnan(v)) return 0;
    double r = std::nearbyint(v);  // the default rounding mode is to nearest, ties to even
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

// Int(x) of the game: the largest whole number not above x.
inline int FloorToInt(double v) {
    return RoundHalfEven(std::floor(v));
}

}  // namespace hopla
