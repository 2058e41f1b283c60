// Sleeping until a deadline or an input event: never early, close to the deadline, woken by input.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "frontend/EventWait.h"
#include "frontend/SdlHandles.h"
#include "platform/Platform.h"

namespace hopla {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using Steady = std::chrono::steady_clock;

class EventWait : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(events_.ok()) << events_.error();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        TightenTimerSlack();
    }

    // Pushes a user event from another thread after `delay`.
    std::jthread pushLater(milliseconds delay) {
        return std::jthread([delay] {
            std::this_thread::sleep_for(delay);
            SDL_Event event{};
            event.type = SDL_USEREVENT;
            SDL_PushEvent(&event);
        });
    }

    SdlSubsystem events_{SDL_INIT_EVENTS};
};

TEST_F(EventWait, EndsAtTheDeadlineNeverBefore) {
    // Deadlines at whole, half and odd fractions of a millisecond, some too short for the
    // millisecond wait at all.
    const microseconds waits[] = {microseconds(300),  microseconds(1500), microseconds(2500),
                                  microseconds(4750), microseconds(7200), microseconds(10000),
                                  microseconds(3333), microseconds(5001), microseconds(900),
                                  microseconds(6600), microseconds(15500)};
    // How late it wakes is the machine's business and measured in bench/ (loop_probe).
    for (const microseconds wait : waits) {
        const SteadyTime deadline = Steady::now() + wait;
        EXPECT_FALSE(WaitForEvent(deadline).has_value());
        const auto late = std::chrono::duration_cast<microseconds>(Steady::now() - deadline);
        EXPECT_GE(late.count(), 0) << "woke early from a wait of " << wait.count() << " us";
    }
}

TEST_F(EventWait, APassedDeadlineReturnsAtOnce) {
    const auto start = Steady::now();
    EXPECT_FALSE(WaitForEvent(start - milliseconds(5)).has_value());
    EXPECT_LT(Steady::now() - start, milliseconds(500));  // not a wait without end
}

TEST_F(EventWait, InputEndsTheWaitEarly) {
    const auto start = Steady::now();
    {
        std::jthread pusher = pushLater(milliseconds(30));
        const std::optional<SDL_Event> event = WaitForEvent(start + milliseconds(3000));
        ASSERT_TRUE(event.has_value());
        EXPECT_EQ(event->type, SDL_USEREVENT);
    }
    EXPECT_LT(Steady::now() - start, milliseconds(1500));
}

TEST_F(EventWait, WithoutADeadlineWaitsForInput) {
    std::jthread pusher = pushLater(milliseconds(20));
    const std::optional<SDL_Event> event = WaitForEvent(std::nullopt);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->type, SDL_USEREVENT);
}

TEST_F(EventWait, QueuedInputComesFirstEvenRightBeforeTheDeadline) {
    SDL_Event queued{};
    queued.type = SDL_USEREVENT;
    ASSERT_EQ(SDL_PushEvent(&queued), 1);
    const std::optional<SDL_Event> event = WaitForEvent(Steady::now() + microseconds(500));
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->type, SDL_USEREVENT);
}

}  // namespace
}  // namespace hopla
