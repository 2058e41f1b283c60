// The solver's search: key presses that take the ball from a stage's start through its exit.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/Demo.h"
#include "headless/SimCore.h"

namespace hopla {

// How hard to look. The beam is how many ball states survive each tick of the stage.
struct SearchOptions {
    int beam = 96;
    int perCell = 10;      // at most this many survivors per 40-pixel cell of the playfield
    int cellShift = 0;     // pixels the cells lie left of and above the stage's tiles
    int maxTicks = 1500;   // of Timer1 in the stage; the search gives up beyond
    int stallTicks = 300;  // ... or when this many ticks brought the beam no closer to the exit
    int bound = -1;  // the stage's TickBound from the start when known (SolveBest's), else made
    // Set by another thread to give up at the next tick (the editor's check when it closes).
    const std::atomic<bool>* stop = nullptr;
};

// What one search found. The inputs are in order of point (Game::handlersRun) in the game it
// searched, so delivering them there at those points clears the stage.
struct StageResult {
    int stage = 0;
    bool solved = false;
    int ticks = 0;  // Timer1 ticks spent in the stage (its StageTime) when the ball left
    int bound = 0;  // the stage's time can be no less at the exit, whatever keys (TickBound);
                    // worked out when solved
    std::vector<DemoInput> inputs;
    std::uint64_t tried = 0;  // ball steps simulated
    std::string blocked;      // when not solved: how far the search got and why it stopped
    SearchOptions setting;    // the search that found it (the last one tried when none did)
};

// Searches from the game as it is: at the start of play in a stage (Timer1 armed, the
// introduction over), as Game::startStage or the previous stage's exit left it. Every step of
// the search is one tick of the real game, reached by restoring a snapshot, delivering keys and
// running the next timer; the ball must not be lost. Leaves `sim` as it found it. Called by
// hopla-solve for one stage or for each stage of a whole game in turn.
StageResult SolveStage(SimCore& sim, const SearchOptions& options);

// The settings SolveBest tries, in order, for a first beam: the beam keeping 10 states per
// cell, then 20 and 40 (they follow the best lines further), then 4 (spread over more of the
// stage), then 4 per cell of cells shifted by half a tile.
std::vector<SearchOptions> SearchSettings(int beam);

// Searches with every setting of SearchSettings(beam) and keeps the solution with the fewest
// ticks (the first of equals); a search after the first solution stops at its ticks. When none
// clears the stage, the beam doubles twice more. `tried` counts every search's steps. Leaves
// `sim` as it found it. hopla-solve's search of a stage.
StageResult SolveBest(SimCore& sim, int beam);

// Plays `inputs` into the game from where it is: each at its point, timers in due order
// between, until the stage changes from the one it was in (or the game ends, or nothing runs).
// How hopla-solve moves a whole game on after each stage's search.
void PlayInputs(SimCore& sim, const std::vector<DemoInput>& inputs);

}  // namespace hopla
