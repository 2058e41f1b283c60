// The fewest ticks a stage can possibly take: a relaxation of the ball's motion that never
// overestimates (docs/solver.md argues it), for the exact search and the stage tables.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

class ContactBound;

// Built from a game at the start of play in a stage: the ball's start, the launchers and the
// back buffer the flights probe. Timer1 ticks are the only time a stage counts, and in one the
// ball moves at most kMaxStride pixels sideways, whatever keys are pressed and whatever it
// hits; a flight out of a launcher costs none.
class TickBound {
  public:
    static constexpr int kMaxStride = 24;  // two moves at 12 px: the step, then ScreenOn's

    // With a horizon (in ticks from the start), the contact bound is worked out for every ball
    // state the ball may be in up to then, or up to the tick that passes `most` states (about
    // 12 MB, and some seconds: ContactBound), for inPlay().
    TickBound(const GameState& s, const Form1& form, int horizon = 0, std::size_t most = 300000);
    ~TickBound();

    // At least this many more Timer1 ticks before a ball in play at x leaves the stage; 0 right
    // of the exit line.
    int afterTick(double x) const;
    // ... for a ball in play in this state: the larger of afterTick and the contact bound of
    // the ball's place, SpeedY and kick (made with a horizon; without one, afterTick).
    int inPlay(const GameState& s) const;
    const ContactBound& contact() const { return *contact_; }
    // ... for a ball caught on, or flying out of, the launcher whose centre is given.
    int fromLauncher(int launcherX, int launcherY) const;
    // ... for the ball at the start of play: the whole stage's bound (at least one tick).
    int atStart() const { return start_; }

    // A flight out of one launcher (both ways): where the ball may be when Timer1 takes it
    // again, or that the flight itself crosses the exit line; and so the fewest ticks after it.
    struct Flight {
        int column = 0, row = 0;
        bool exits = false;
        std::vector<int> landing;  // floors of the positions
        int worth = 1 << 29;       // 0 when it exits, else the least afterTick of a landing
    };

  private:
    static constexpr int kLeftmost = -64;  // positions are kept from here to the exit line
    int index(double x) const;

    std::vector<int> after_;  // afterTick by floor(x) - kLeftmost
    std::vector<Flight> flights_;
    int start_ = 0;
    std::shared_ptr<const ContactBound> contact_;
};

}  // namespace hopla
