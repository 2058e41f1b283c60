// A seed from the clock and the random device.
#include "toolkit/Environment.h"

#include <chrono>
#include <random>

namespace hopla {

std::uint32_t ClockSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::random_device{}() ^ static_cast<std::uint32_t>(ticks) ^
           static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) >> 32);
}

}  // namespace hopla
