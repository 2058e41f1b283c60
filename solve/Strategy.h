// How hopla-solve plays: one stage from its start, or a whole game from start-up through the
// title room, every stage and the ending, perhaps lingering in each stage like a slow player.
#pragma once

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

// Plays a whole game: the title room, stages 0..20 each searched from where the game is, the
// ending up to its final screen and the closing click. Prints a line for each stage and the
// score, and writes the game's demo to `path`. Exit status as SolveOneStage's. Called by
// hopla-solve --game.
int SolveGame(const SolveSettings& settings, const std::string& path);

}  // namespace hopla
