// The fewest ticks to the exit line by a search over a coarse grid of the ball's place, its
// vertical speed and whether it may kick off a wall: a tick doubles its sideways move only by a
// contact above or below, and those need something solid where the ball probes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "form/Form1.h"
#include "form/GameState.h"
#include "solve/TickBound.h"

namespace hopla {

// Built from a game at the start of play in a stage, with the stage's flights as TickBound flies
// them (docs/solver.md argues both figures).
class ContactBound {
  public:
    // With horizon 0 the search goes only as far as the first tick with a way out; with a
    // horizon it goes that many ticks from the start, or to the end of the tick that takes it
    // past `most` states met (1 byte for each of its 11 M bins, and 1 bit), and then works out
    // every bin's ticks to the exit, for after(). Each state met costs about 3 us a sweep.
    static constexpr std::size_t kMostStates = 300000;
    ContactBound(const GameState& s, const Form1& form,
                 const std::vector<TickBound::Flight>& flights, int horizon = 0,
                 std::size_t most = kMostStates);

    // No play reaches the exit in fewer Timer1 ticks from the start. Capped at 1500 (or the
    // horizon); a stage with no way out in the relaxation says the ticks at which the relaxation
    // ran out of places to go.
    int atStart() const { return start_; }
    // No ball in play at (x, y) with this SpeedY, and able to kick off a wall or not, reaches
    // the exit in fewer ticks; 0 (no claim) for a bin the search did not meet within its
    // horizon, or without one.
    int after(double x, double y, double speedY, bool wall) const;

    std::size_t met() const { return met_; }  // the bins the search went on from
    int sweeps() const { return sweeps_; }    // ... and the backward pass's sweeps over them

  private:
    int start_ = 0;
    std::size_t met_ = 0;
    int sweeps_ = 0;
    std::vector<bool> seen_;
    std::vector<std::uint8_t> dist_;
};

}  // namespace hopla
