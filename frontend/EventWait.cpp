// The frontend's one way of sleeping: SDL's event wait for whole milliseconds, then
// clock_nanosleep for the rest.
#include "frontend/EventWait.h"

#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

namespace hopla {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// SDL_WaitEventTimeout counts in whole milliseconds and may end up to a millisecond early or,
// on a busy machine, a millisecond or more late; it is only trusted up to this much before the
// deadline.
constexpr milliseconds kPreciseStretch{2};

// libstdc++'s steady_clock is CLOCK_MONOTONIC, so its time points are absolute times of it.
void SleepUntil(SteadyTime deadline) {
    const auto ns = std::chrono::duration_cast<nanoseconds>(deadline.time_since_epoch()).count();
    timespec at{};
    at.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    at.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

}  // namespace

std::optional<SDL_Event> WaitForEvent(std::optional<SteadyTime> deadline) {
    SDL_Event event;
    if (!deadline) {
        if (SDL_WaitEvent(&event) == 1) return event;
        return std::nullopt;
    }
    for (;;) {
        const nanoseconds remaining = *deadline - std::chrono::steady_clock::now();
        if (remaining <= nanoseconds(0)) return std::nullopt;
        const auto wholeMs =
            std::chrono::duration_cast<milliseconds>(remaining - kPreciseStretch).count();
        if (wholeMs > 0) {
            if (SDL_WaitEventTimeout(&event, static_cast<int>(wholeMs)) == 1) return event;
            continue;  // timed out (perhaps early): measure again
        }
        // Less than three milliseconds left: input that is already there goes first, otherwise
        // sleep precisely to the deadline. Input arriving in this stretch waits for the caller's
        // next look at the queue, at most three milliseconds on.
        if (SDL_PollEvent(&event) == 1) return event;
        SleepUntil(*deadline);
        return std::nullopt;
    }
}

void TightenTimerSlack() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

}  // namespace hopla
