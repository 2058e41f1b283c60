// The scheduler's clock: the real monotonic clock in the game, a virtual one in tests and
// hopla-sim.
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

// Moves only when told to: by the driver running ticks up to a time, or by a waiting sound.
class VirtualClock final : public Clock {
  public:
    Duration now() const override { return now_; }
    void advanceTo(Duration t) {
        if (t > now_) now_ = t;
    }
    void advanceBy(Duration d) { advanceTo(now_ + d); }

  private:
    Duration now_{0};
};

class RealClock final : public Clock {
  public:
    Duration now() const override { return std::chrono::steady_clock::now() - start_; }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace hopla
