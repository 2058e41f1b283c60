// Where stage files are found: by the name given with --stages, and by the name and hash a demo
// was recorded on.
#pragma once

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

// The stage folders, in the order they are looked in: `userDir`/stages (the player's own: the
// platform's RecordsDir, $XDG_DATA_HOME/hopla; skipped when empty), the installed data folder
// beside the executable's folder `exeDir`, and the folder "stages" beside the executable (the
// build tree, the Windows zip and the browser's data).
std::vector<std::string> StageFolders(const std::string& userDir, const std::string& exeDir);

// Where --stages ARG is looked for. A path (ARG holds a slash, or ends in ".stages") is used as
// it is, and only there. A bare name is NAME.stages in each of the StageFolders, in order, and
// never what the current folder holds under that name (a folder "first-steps" there does not
// hide the shipped stage file).
std::vector<std::string> StageFileCandidates(std::string_view arg, const std::string& userDir,
                                             const std::string& exeDir);

// Reads the first candidate that exists (for a path, the path itself; for a bare name none is
// one line naming the folders looked in). Throws
// StageFileError, one line naming the file, for a file that cannot be read or is not a stage
// file. Called by hopla, hopla-sim and hopla-solve before anything starts.
ChosenStages LoadStages(std::string_view arg, const std::string& userDir,
                        const std::string& exeDir);

// The stages to play a demo on, or why it cannot be played.
struct StagesForDemo {
    std::optional<ChosenStages> stages;  // none: the game's own
    std::optional<std::string> refusal;  // the rest of one line after the demo's name
};

// For a demo played with --stages (`given`), those stages when the demo was recorded on them.
// Without --stages, a demo recorded on a stage file plays on the file of its name in the stage
// folders whose table has its hash. A refusal names a command that plays it: --stages with a
// file that has the demo's hash (one in the folders, or NAME.stages in the working folder),
// else the hash a file must have; a file of the same name but other stages is never suggested.
StagesForDemo ChooseStagesForDemo(const Demo& demo, std::optional<ChosenStages> given,
                                  const std::string& userDir, const std::string& exeDir);

}  // namespace hopla
