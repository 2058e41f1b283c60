// The stages a run plays on: the hash that names a stage file's table, and whether a demo was
// recorded on the same stages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "demo/Demo.h"
#include "stage/StageFile.h"

namespace hopla {

// The hash of the stage table a game starts with when `file` is applied after start-up (the
// game's own table for none): what a demo's stages line holds.
std::uint64_t StagesHash(const StageFile* file);

// Why `demo` cannot be played on `played` (none: the game's own stages), as the rest of one
// line after the demo's name ("needs the stages NAME (hash H)"); none when it can. Where such
// stages are found is the runners' to say (shell/StageLookup.h).
std::optional<std::string> StagesRefusal(const Demo& demo, const std::optional<DemoStages>& played);

}  // namespace hopla
