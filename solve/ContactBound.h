// The fewest ticks from the ball's start to the exit line by a search over a coarse grid of its
// place, its vertical speed and whether it may kick off a wall: a tick doubles its sideways
// move only by a contact above or below, and those need something solid where the ball probes.
#pragma once

#include <vector>

#include "form/Form1.h"
#include "form/GameState.h"
#include "solve/TickBound.h"

namespace hopla {

// From a game at the start of play in a stage, with the stage's flights as TickBound flies
// them: no play reaches the exit in fewer Timer1 ticks (docs/solver.md argues it). The search
// stops at `limit` ticks and then says `limit`; a stage with no way out in the relaxation says
// the ticks at which the relaxation ran out of places to go.
int ContactTicks(const GameState& s, const Form1& form,
                 const std::vector<TickBound::Flight>& flights, int limit = 1500);

}  // namespace hopla
