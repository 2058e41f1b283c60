// The frontend's one way of sleeping: SDL's event wait for whole milliseconds, then the
// platform's precise sleep for the rest.
#include "frontend/EventWait.h"

#include "platform/Platform.h"

namespace hopla {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// SDL_WaitEventTimeout counts in whole milliseconds and may end up to a millisecond early or,
// on a busy machine, a millisecond or more late; it is only trusted up to this much before the
// deadline.
constexpr milliseconds kPreciseStretch{2};

}  // namespace

std::optional<SDL_Event> WaitForEvent(std::optional<SteadyTime> deadline) {
    SDL_Event event;
    if (!deadline) {
        if (SDL_WaitEvent(&event) == 1) return event;
        return std::nullopt;
    }
    for (;;) {
        const nanoseconds remaining = *deadline - std::chrono::steady_clock::now();
        // Input already queued goes first even when the deadline has passed (the thread may
        // have been held up before it looked).
        if (remaining <= nanoseconds(0)) {
            if (SDL_PollEvent(&event) == 1) return event;
            return std::nullopt;
        }
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

}  // namespace hopla
