// The game's clock in the real window: the monotonic clock, counted from the game's start.
#pragma once

#include <algorithm>
#include <chrono>

#include "toolkit/Clock.h"

namespace hopla {

class RealClock final : public Clock {
  public:
    Duration now() const override { return std::max(elapsed(), heldUntil_); }

    // In the browser a handler cannot block while a sound plays to its end: the game's time
    // jumps to the sound's end instead (what the handler reads after the sound is what it
    // would read after waiting), and the loop runs nothing until the real time has caught up.
    // Called by the sound device, within a handler.
    void holdFor(Duration length) { heldUntil_ = now() + length; }
    bool held() const { return elapsed() < heldUntil_; }
    Duration heldUntil() const { return heldUntil_; }

  private:
    Duration elapsed() const { return std::chrono::steady_clock::now() - start_; }

    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    Duration heldUntil_{0};
};

}  // namespace hopla
