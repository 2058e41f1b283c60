// Each stage's par: the fewest ticks of the solver's routes (docs/stages.md), beside the
// player's best on the records page; and its tick bound (no play is quicker). Made by
// scripts/stage-par.sh; do not edit by hand.
#pragma once

#include <array>

namespace hopla {

inline constexpr std::array<int, 21> kStagePar = {61, 62, 79, 52, 79, 80, 50, 40, 75, 67, 48,
                                                  78, 79, 89, 61, 21, 59, 45, 87, 9,  45};
inline constexpr std::array<int, 21> kStageBound = {42, 40, 38, 7,  38, 42, 23, 30, 38, 37, 6,
                                                    41, 35, 31, 45, 4,  41, 23, 45, 5,  16};

}  // namespace hopla
