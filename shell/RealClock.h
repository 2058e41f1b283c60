// The game's clock in the real window: the monotonic clock, counted from the game's start, that
// stands still while the game is paused.
#pragma once

#include <algorithm>
#include <chrono>
#include <optional>

#include "toolkit/Clock.h"

namespace hopla {

// Game time is the monotonic time since the start less every paused span, so a timer due 40 ms
// after the moment of a pause is due 40 ms after play resumes.
class RealClock final : public Clock {
  public:
    Duration now() const override {
        return stoppedAt_ ? *stoppedAt_ : std::max(running(), heldUntil_);
    }
    bool paused() const { return stoppedAt_.has_value(); }
    // Called by the loop when the shell pauses and resumes play; repeats are ignored.
    void pause() {
        if (!stoppedAt_) stoppedAt_ = now();
    }
    void resume() {
        if (!stoppedAt_) return;
        pausedFor_ = elapsed() - *stoppedAt_;
        stoppedAt_.reset();
    }
    // Moves the game's time forward to `time` at once when it is not there yet (never back);
    // it runs on from there (or stays there while paused). The quick start calls it to run the
    // opening's timers each at its due time, as the headless runner does.
    void advanceTo(Duration time) {
        if (time <= now()) return;
        if (stoppedAt_)
            stoppedAt_ = time;
        else
            pausedFor_ -= time - now();
    }

    // In the browser a handler cannot block while a sound plays to its end: the game's time
    // jumps to the sound's end instead (what the handler reads after the sound is what it
    // would read after waiting), and the loop runs nothing until the real time has caught up.
    // Called by the sound device, within a handler.
    void holdFor(Duration length) { heldUntil_ = now() + length; }
    bool held() const { return !stoppedAt_ && running() < heldUntil_; }
    Duration heldUntil() const { return heldUntil_; }

  private:
    Duration elapsed() const { return std::chrono::steady_clock::now() - start_; }
    Duration running() const { return elapsed() - pausedFor_; }

    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    Duration pausedFor_{0};  // less the time the game was moved forward
    std::optional<Duration> stoppedAt_;
    Duration heldUntil_{0};
};

}  // namespace hopla
