// What a runner takes from the system at start besides the platform's answers: a fresh seed.
#pragma once

#include <cstdint>

namespace hopla {

// A seed for the game's shuffles that differs from run to run (the clock mixed with the
// system's random device).
std::uint32_t ClockSeed();

}  // namespace hopla
