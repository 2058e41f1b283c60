// What the solver may do between two ticks of the game, and what a step leaves the ball doing:
// the move set shared by the beam search and the exact search.
#pragma once

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "demo/Demo.h"
#include "headless/SimCore.h"

namespace hopla {

// What the ball is doing after a step: the decision its state faces next, or an outcome.
enum class Phase { Play, Flight, Caught, Exit, Lost };

// The inputs delivered before a step: a release, a launch, or presses of one arrow.
struct Action {
    std::array<std::pair<InputKind, int>, 6> inputs{};
    int count = 0;
};

// The phase of the game in `stage`, which began this search with `balls` balls.
Phase Classify(SimCore& sim, int stage, int balls);

// The moves open in `phase`: in play nothing, a release of the held key, or one, two or six
// presses of either arrow (each press pushes 1.7, or kicks off a wall just touched; six is full
// speed at once); caught on a launcher, a launch either way (after a release of the held key or
// not); in flight nothing or the brake.
std::vector<Action> Moves(Phase phase, const GameState& s);

// Delivers the action's inputs and runs the next timer; whether that was Timer1 (a tick the
// stage counts) goes into `ticked`.
void Apply(SimCore& sim, const Action& action, bool& ticked);

}  // namespace hopla
