// Interval timers and the scheduler that decides which one ticks next.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "toolkit/Clock.h"

namespace hopla {

class Scheduler;

// Interval 0 is stopped; setting a positive interval (re)starts the countdown from now, also
// from inside a handler (its own tick included). Negative intervals stop the timer.
class Timer {
  public:
    Timer(Scheduler& scheduler, std::string_view name);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int interval() const { return interval_; }
    bool running() const { return interval_ > 0; }
    void setInterval(int ms);
    std::string_view name() const { return name_; }
    // When the next tick is due; meaningless while stopped.
    Duration due() const { return due_; }

  private:
    friend class Scheduler;
    Scheduler& scheduler_;
    std::string_view name_;
    int interval_ = 0;
    Duration due_{0};
};

// One thread, one handler at a time. The scheduler only orders ticks: the owner asks which
// timer is due and runs its handler. Ties go to the timer registered first.
class Scheduler {
  public:
    static constexpr int kMaxTimers = 8;

    explicit Scheduler(const Clock& clock) : clock_(clock) {}
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    const Clock& clock() const { return clock_; }
    // The running timer due earliest (registration order breaks ties), or none.
    Timer* nextDue() const;
    // Takes the earliest timer due at or before now and arms its next tick: one interval after
    // this due time, or, when the tick comes late by a whole interval or more, one interval
    // from now (a late timer ticks once, never a burst of catch-up ticks).
    Timer* takeDue();

    // Every timer's interval and due time, in registration order, for a game saved and gone
    // back to (Form1's save and restore). The clock is its owner's to save.
    struct TimerState {
        int interval = 0;
        Duration due{0};
    };
    using State = std::array<TimerState, kMaxTimers>;
    State save() const;
    void restore(const State& state);

  private:
    friend class Timer;
    void add(Timer& timer);

    const Clock& clock_;
    std::array<Timer*, kMaxTimers> timers_{};
    int count_ = 0;
};

}  // namespace hopla
