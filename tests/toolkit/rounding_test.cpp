// Reals stored as whole numbers: nearest, halves to even, extremes clamped.
#include <gtest/gtest.h>

#include <limits>

#include "toolkit/Rounding.h"

namespace hopla {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double in;
        int out;
    };
    for (const Case c : {Case{2.5, 2},
                         {3.5, 4},
                         {-2.5, -2},
                         {-3.5, -4},
                         {0.5, 0},
                         {1.5, 2},
                         {2.4999, 2},
                         {2.5001, 3},
                         {5.0, 5},
                         {-0.4, 0}})
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(RoundHalfEven, ClampsInsteadOfOverflowing) {
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(FloorToInt, GoesTowardsMinusInfinity) {
    EXPECT_EQ(FloorToInt(39.999), 39);
    EXPECT_EQ(FloorToInt(-0.001), -1);
    EXPECT_EQ(FloorToInt(-40.0), -40);
}

}  // namespace
}  // namespace hopla
