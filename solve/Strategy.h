// How hopla-solve plays: one stage from its start, or a whole game from start-up through the
// title room, every stage and the ending, perhaps lingering in each stage like a slow player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "solve/StageSearch.h"

namespace hopla {

// What every run shares: the game's seed, the search's first beam, and for a whole game the
// ticks the ball is first left alone in each stage (0: none).
struct SolveSettings {
    std::uint32_t seed = 1;
    int beam = SearchOptions{}.beam;
    int linger = 0;
};

// Solves stage `stage` from its start, prints one line of figures and writes the demo to
// `path`. Exit status: 0 solved, 1 not cleared, 2 the demo not written. Called by hopla-solve
// --stage, and by --all in a process for each stage.
int SolveOneStage(int stage, const SolveSettings& settings, const std::string& path);

// How long and how much memory an exact search may take (ProveStage).
struct ProveLimits {
    double seconds = 60;
    std::size_t memoryMb = 512;
};

// Solves stage `stage` with the beam, then searches for a quicker route or a proof that none
// of the solver's moves gives one (ProveStage), within `limits`: prints the limits, progress
// lines and a line of the best ticks, the bound and the verdict, and writes the best route's
// demo to `path`. Exit status as SolveOneStage's. Called by hopla-solve --prove.
int ProveOneStage(int stage, const SolveSettings& settings, const ProveLimits& limits,
                  const std::string& path);

// Plays a whole game: the title room, stages 0..20 each searched from where the game is, the
// ending up to its final screen and the closing click. Prints a line for each stage and the
// score, and writes the game's demo to `path`. Exit status as SolveOneStage's. Called by
// hopla-solve --game.
int SolveGame(const SolveSettings& settings, const std::string& path);

}  // namespace hopla
