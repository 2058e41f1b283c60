// What a runner takes from the system at start: its executable's directory and a fresh seed.
#pragma once

#include <cstdint>
#include <string>

namespace hopla {

// The directory holding the running executable, symlinks resolved, with a trailing "/"; "./"
// when the system does not tell. The game's wave files lie there.
std::string ExecutableDir();

// A seed for the game's shuffles that differs from run to run (the clock mixed with the
// system's random device).
std::uint32_t ClockSeed();

}  // namespace hopla
