// The exact search: iterative deepening on the stage's ticks, each round cut by the tick bound,
// that proves a route the quickest one of the solver's moves or says how far it got.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "headless/SimCore.h"
#include "solve/StageSearch.h"
#include "solve/TickBound.h"

namespace hopla {

struct ProveOptions {
    double seconds = 60;         // the search stops at its next step after this long
    std::size_t memoryMb = 512;  // ... or when the states it remembers would take more
    int best = 0;                // ticks of a route known already (0: none); rounds stop there
    std::ostream* progress = nullptr;  // a line every progressSeconds, when given
    double progressSeconds = 5;
};

struct ProveResult {
    int bound = 0;         // TickBound at the start: no play at all, any keys, is quicker
    int searched = 0;      // no route of the solver's moves takes fewer ticks than this
    bool optimal = false;  // searched reached the best route's ticks
    StageResult found;     // a route of `searched` ticks the search found itself (solved or not)
    std::uint64_t steps = 0;
    std::size_t peakStates = 0;  // the most states remembered in one round
    std::size_t peakBytes = 0;   // ... and the memory they took, as the search counts it
    double seconds = 0;
    std::string stopped;  // why it stopped short: "time limit" or "memory limit"; empty if not
};

// From a game at the start of play in a stage (as SolveStage takes it): rounds of a depth-first
// search over the solver's moves (Moves), round T looking for a way out in T ticks of the stage
// and cutting every state whose ticks plus its TickBound pass T; a state met again at no fewer
// ticks in the same round is not searched again (states compared by the game's check, the
// stage's time left out). Round T starts at the bound and ends at options.best (or a route
// found). Leaves `sim` as it found it.
ProveResult ProveStage(SimCore& sim, const ProveOptions& options);

// Plays a route's inputs into the game from the start of play in its stage (as PlayInputs), and
// at every tick the ball ends in play compares the ticks still to come with `bound`'s figure
// for that state (TickBound::inPlay): returns the least of the differences, which a bound that
// never overestimates keeps at 0 or more (a large number when the ball is never in play).
int LeastSlack(SimCore& sim, const std::vector<DemoInput>& inputs, const TickBound& bound);

}  // namespace hopla
