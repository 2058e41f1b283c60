// The scheduler's clock: the real monotonic clock in the game (shell/RealClock.h), a
// virtual one in the headless runner (headless/VirtualClock.h).
#pragma once

#include <chrono>

namespace hopla {

// Time since the clock started.
using Duration = std::chrono::nanoseconds;
using std::chrono::milliseconds;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual Duration now() const = 0;
};

}  // namespace hopla
