// The game's clock in the real window: the monotonic clock, counted from the game's start.
#pragma once

#include <chrono>

#include "toolkit/Clock.h"

namespace hopla {

class RealClock final : public Clock {
  public:
    Duration now() const override { return std::chrono::steady_clock::now() - start_ + ahead_; }

    // Moves the game's time forward to `time` at once when it is not there yet (never back);
    // it runs on from there. The quick start calls it to run the opening's timers each at its
    // due time, as the headless runner does.
    void advanceTo(Duration time) {
        const Duration now = this->now();
        if (time > now) ahead_ += time - now;
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    Duration ahead_{0};  // how far the game's time was moved forward
};

}  // namespace hopla
