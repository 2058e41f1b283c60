// Sleeping until a deadline or the next input event, whichever comes first.
#pragma once

#include <SDL.h>

#include <chrono>
#include <optional>

namespace hopla {

using SteadyTime = std::chrono::steady_clock::time_point;

// Returns the first event that arrives before the deadline (or is already queued when the
// deadline has passed), else none; without a deadline it waits for an event only. It sleeps the
// whole time: the window system's wait covers whole milliseconds, and a precise sleep on the
// monotonic clock the last stretch, so the call returns within a small fraction of a millisecond
// after the deadline (once the thread's timer slack is tightened: TightenTimerSlack in
// platform/Platform.h).
std::optional<SDL_Event> WaitForEvent(std::optional<SteadyTime> deadline);

}  // namespace hopla
