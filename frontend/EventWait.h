// Sleeping until a deadline or the next input event, whichever comes first.
#pragma once

#include <SDL.h>

#include <chrono>
#include <optional>

namespace hopla {

using SteadyTime = std::chrono::steady_clock::time_point;

// Returns the first event that arrives before the deadline, or none once the deadline has
// passed; without a deadline it waits for an event only. It sleeps the whole time: the window
// system's wait covers whole milliseconds, and a precise sleep on the monotonic clock the last
// stretch, so the call returns within a small fraction of a millisecond after the deadline.
std::optional<SDL_Event> WaitForEvent(std::optional<SteadyTime> deadline);

// Lowers the calling thread's timer slack to the minimum, so that sleeps end when asked rather
// than up to the kernel's default 50 microseconds later.
void TightenTimerSlack();

}  // namespace hopla
