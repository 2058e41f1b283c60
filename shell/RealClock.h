// The game's clock in the real window: the monotonic clock, counted from the game's start, that
// stands still while the game is paused and runs slower in slow motion.
#pragma once

#include <algorithm>
#include <chrono>
#include <optional>

#include "toolkit/Clock.h"

namespace hopla {

// Game time is the monotonic time since the start less every paused span, so a timer due 40 ms
// after the moment of a pause is due 40 ms after play resumes. In slow motion the game's time
// runs at a share of the real time's pace: the same ticks come, each later.
class RealClock final : public Clock {
  public:
    // Full speed.
    static constexpr int kFullRate = 100;
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

    // The game's time from now on runs `percent` (1..kFullRate) of a real second a second; the
    // game's now stays where it is.
    void setRate(int percent) {
        const Duration at = elapsed();
        rateFrom_ = std::chrono::steady_clock::now();
        rateFromGame_ = at;
        rate_ = std::clamp(percent, 1, kFullRate);
    }
    int rate() const { return rate_; }
    // The real time a span of the game's time takes at the present rate: what the loop sleeps
    // until a timer falls due.
    Duration realFor(Duration span) const { return span * kFullRate / rate_; }

    // In the browser a handler cannot block while a sound plays to its end: the game's time
    // jumps to the sound's end instead (what the handler reads after the sound is what it
    // would read after waiting), and the loop runs nothing until the real time has caught up.
    // Called by the sound device, within a handler.
    void holdFor(Duration length) { heldUntil_ = now() + length; }
    bool held() const { return !stoppedAt_ && running() < heldUntil_; }
    Duration heldUntil() const { return heldUntil_; }

  private:
    // The game's time since the start, pauses included: the real time since the rate was last
    // set, at that rate, on top of the time there was then.
    Duration elapsed() const {
        return rateFromGame_ + (std::chrono::steady_clock::now() - rateFrom_) * rate_ / kFullRate;
    }
    Duration running() const { return elapsed() - pausedFor_; }

    std::chrono::steady_clock::time_point rateFrom_ = std::chrono::steady_clock::now();
    Duration rateFromGame_{0};
    int rate_ = kFullRate;
    Duration pausedFor_{0};  // less the time the game was moved forward
    std::optional<Duration> stoppedAt_;
    Duration heldUntil_{0};
};

}  // namespace hopla
