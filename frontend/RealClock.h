// The game's clock in the real window: the monotonic clock, counted from the game's start.
#pragma once

#include <chrono>

#include "toolkit/Clock.h"

namespace hopla {

class RealClock final : public Clock {
  public:
    Duration now() const override { return std::chrono::steady_clock::now() - start_; }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace hopla
