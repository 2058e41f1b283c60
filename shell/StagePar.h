// Each stage's par: the fewest ticks of the solver's routes (docs/stages.md), beside the
// player's best on the records page. Made by scripts/stage-par.sh; do not edit by hand.
#pragma once

#include <array>

namespace hopla {

inline constexpr std::array<int, 21> kStagePar = {61, 62, 79, 52, 79, 80, 50, 40, 75, 67, 48,
                                                  78, 79, 89, 61, 21, 59, 45, 87, 9,  45};

}  // namespace hopla
