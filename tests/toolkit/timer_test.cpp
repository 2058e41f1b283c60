// Timer rules: arming, restarting, stopping, due order, ties, and no catch-up bursts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/VirtualClock.h"
#include "toolkit/Timer.h"

namespace hopla {
namespace {

using std::chrono::milliseconds;

struct Rig {
    VirtualClock clock;
    Scheduler scheduler{clock};
    Timer a{scheduler, "A"}, b{scheduler, "B"}, c{scheduler, "C"};
    std::vector<std::string> fired;  // "name@ms"

    // Runs every tick due up to `ms`, as the headless runner does.
    void runUntil(long ms, const std::function<void(Timer&)>& handler = {}) {
        for (;;) {
            Timer* next = scheduler.nextDue();
            if (!next || next->due() > milliseconds(ms)) break;
            clock.advanceTo(next->due());
            Timer* t = scheduler.takeDue();
            fired.push_back(std::string(t->name()) + "@" +
                            std::to_string(clock.now() / milliseconds(1)));
            if (handler) handler(*t);
        }
        clock.advanceTo(milliseconds(ms));
    }
};

TEST(Timer, StoppedUntilGivenAPositiveInterval) {
    Rig r;
    r.a.setInterval(0);
    r.b.setInterval(-5);
    r.runUntil(1000);
    EXPECT_TRUE(r.fired.empty());
    EXPECT_EQ(r.b.interval(), 0);
}

TEST(Timer, TicksEveryIntervalFromWhenItWasSet) {
    Rig r;
    r.clock.advanceTo(milliseconds(7));
    r.a.setInterval(10);
    r.runUntil(40);
    EXPECT_EQ(r.fired, (std::vector<std::string>{"A@17", "A@27", "A@37"}));
}

TEST(Timer, SettingAgainRestartsTheCountdown) {
    Rig r;
    r.a.setInterval(10);
    r.runUntil(8);
    r.a.setInterval(10);  // same interval, restarted at 8
    r.runUntil(20);
    EXPECT_EQ(r.fired, (std::vector<std::string>{"A@18"}));
}

TEST(Timer, DueOrderWithTiesInRegistrationOrder) {
    Rig r;
    r.c.setInterval(5);
    r.b.setInterval(10);
    r.a.setInterval(10);
    r.runUntil(10);
    EXPECT_EQ(r.fired, (std::vector<std::string>{"C@5", "A@10", "B@10", "C@10"}));
}

TEST(Timer, AHandlerStoppingItselfOrAnotherMidTick) {
    Rig r;
    r.a.setInterval(10);
    r.b.setInterval(10);
    r.runUntil(30, [&](Timer& t) {
        if (&t == &r.a) r.b.setInterval(0);  // B was due at the same moment: it never ticks
        if (&t == &r.a && r.clock.now() == milliseconds(20)) r.a.setInterval(0);
    });
    EXPECT_EQ(r.fired, (std::vector<std::string>{"A@10", "A@20"}));
}

TEST(Timer, AHandlerRestartingItsOwnTimerWithANewInterval) {
    Rig r;
    r.a.setInterval(500);
    r.runUntil(2000, [&](Timer& t) { t.setInterval(340); });
    EXPECT_EQ(r.fired, (std::vector<std::string>{"A@500", "A@840", "A@1180", "A@1520", "A@1860"}));
}

TEST(Timer, ALateTimerTicksOnceThenKeepsItsPeriodFromNow) {
    Rig r;
    r.a.setInterval(10);
    r.clock.advanceTo(milliseconds(55));  // the thread was blocked past five due times
    ASSERT_NE(r.scheduler.takeDue(), nullptr);
    EXPECT_EQ(r.scheduler.takeDue(), nullptr);  // no burst of catch-up ticks
    EXPECT_EQ(r.a.due(), milliseconds(65));
}

TEST(Timer, ASlightlyLateTickKeepsThePhase) {
    Rig r;
    r.a.setInterval(10);
    r.clock.advanceTo(milliseconds(13));
    ASSERT_NE(r.scheduler.takeDue(), nullptr);
    EXPECT_EQ(r.a.due(), milliseconds(20));
}

}  // namespace
}  // namespace hopla
