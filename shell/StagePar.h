// Each stage's par: the fewest ticks of the solver's routes (docs/stages.md), beside the
// player's best on the records page; and its tick bound (no play is quicker). Made by
// scripts/stage-par.sh; do not edit by hand.
#pragma once

#include <array>

namespace hopla {

inline constexpr std::array<int, 21> kStagePar = {61, 62, 79, 52, 79, 80, 50, 40, 75, 67, 48,
                                                  78, 79, 89, 61, 21, 59, 45, 87, 9,  45};
inline constexpr std::array<int, 21> kStageBound = {30, 35, 33, 6,  33, 36, 17, 13, 35, 34, 5,
                                                    38, 30, 29, 39, 3,  39, 22, 41, 5,  15};

}  // namespace hopla
