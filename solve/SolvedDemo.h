// Turning what the solver found into a demo file: recorded in a fresh game, checked by playing
// it back, then written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/Demo.h"

namespace hopla {

// Replays the inputs into a fresh game through a recorder and returns the demo: from start-up
// (or the jump to `startStage`) until the stage changes (a stage demo) or the game ends
// (`wholeGame`). Called by hopla-solve once a stage or a game is solved.
std::string RecordDemo(std::uint32_t seed, std::optional<int> startStage,
                       const std::vector<DemoInput>& inputs, bool wholeGame);

// Writes the demo and plays it back as a check of its own; false after saying why not.
bool WriteDemo(const std::string& path, const std::string& text);

}  // namespace hopla
