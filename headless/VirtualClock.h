// The headless runner's clock: time moves only when the runner or a waiting sound moves it.
#pragma once

#include "toolkit/Clock.h"

namespace hopla {

// Moves only when told to: by the driver running ticks up to a time, or by a waiting sound.
class VirtualClock final : public Clock {
  public:
    Duration now() const override { return now_; }
    void advanceTo(Duration t) {
        if (t > now_) now_ = t;
    }
    void advanceBy(Duration d) { advanceTo(now_ + d); }
    // Puts the clock back (or on) to a time saved earlier: SimCore's restore only.
    void restore(Duration t) { now_ = t; }

  private:
    Duration now_{0};
};

}  // namespace hopla
