// The stages a run plays on: a stage file named on the command line found, read and named, and
// whether a demo was recorded on the same stages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/Demo.h"
#include "stage/StageFile.h"

namespace hopla {

// A stage file chosen with --stages: where it was found, what it holds, and how a demo names it.
struct ChosenStages {
    std::string path;
    StageFile file;
    DemoStages id;  // the file's name without ".stages", and the hash of the table it makes
};

// Where --stages ARG is looked for, in order: ARG itself; and when ARG holds no slash,
// NAME.stages (ARG with ".stages" added unless it ends so) in `userDir`/stages (the player's
// own: the platform's RecordsDir, $XDG_DATA_HOME/hopla), in the installed data folder beside
// the executable's folder `exeDir`, and in the folder "stages" beside the executable (the build
// tree). An empty userDir is skipped.
std::vector<std::string> StageFileCandidates(std::string_view arg, const std::string& userDir,
                                             const std::string& exeDir);

// Reads the first candidate that exists (ARG itself when none does, for its message). Throws
// StageFileError, one line naming the file, for a file that cannot be read or is not a stage
// file. Called by hopla, hopla-sim and hopla-solve before anything starts.
ChosenStages LoadStages(std::string_view arg, const std::string& userDir,
                        const std::string& exeDir);

// The hash of the stage table a game starts with when `file` is applied after start-up (the
// game's own table for none): what a demo's stages line holds.
std::uint64_t StagesHash(const StageFile* file);

// Why `demo` cannot be played on `played` (none: the game's own stages), as the rest of one
// line after the demo's name; none when it can.
std::optional<std::string> StagesRefusal(const Demo& demo, const std::optional<DemoStages>& played);

}  // namespace hopla
