// Timer arming and the scheduler's choice of the next tick.
#include "toolkit/Timer.h"

#include <stdexcept>

namespace hopla {

Timer::Timer(Scheduler& scheduler, std::string_view name) : scheduler_(scheduler), name_(name) {
    scheduler_.add(*this);
}

void Timer::setInterval(int ms) {
    interval_ = ms > 0 ? ms : 0;
    if (interval_ > 0) due_ = scheduler_.clock().now() + milliseconds(interval_);
}

void Scheduler::add(Timer& timer) {
    if (count_ == kMaxTimers) throw std::logic_error("too many timers");
    timers_[count_++] = &timer;
}

Timer* Scheduler::nextDue() const {
    Timer* best = nullptr;
    for (int i = 0; i < count_; ++i) {
        Timer* t = timers_[i];
        if (t->running() && (!best || t->due_ < best->due_)) best = t;
    }
    return best;
}

Timer* Scheduler::takeDue() {
    Timer* t = nextDue();
    const Duration now = clock_.now();
    if (!t || t->due_ > now) return nullptr;
    const Duration period = milliseconds(t->interval_);
    t->due_ += period;
    if (t->due_ <= now) t->due_ = now + period;
    return t;
}

Scheduler::State Scheduler::save() const {
    State state{};
    for (int i = 0; i < count_; ++i) state[i] = {timers_[i]->interval_, timers_[i]->due_};
    return state;
}

void Scheduler::restore(const State& state) {
    for (int i = 0; i < count_; ++i) {
        timers_[i]->interval_ = state[i].interval;
        timers_[i]->due_ = state[i].due;
    }
}

}  // namespace hopla
