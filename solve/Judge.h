// The solver as the judge of new stages: each stage of a stage file searched from its start on
// a headless game with the file's stages, and the par demo of each stage it clears.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "demo/DemoStages.h"
#include "shell/StageLookup.h"
#include "solve/StageSearch.h"

namespace hopla {

struct JudgeOptions {
    std::uint32_t seed = 1;
    int beam = SearchOptions{}.beam;
    int tries = 3;  // searches per stage, the beam doubling after each that failed
    const std::atomic<bool>* stop = nullptr;  // set to give up at once (see SearchOptions)
};

// Searches `stage` of a game given `file`'s stages, from the stage's start. `progress`, when
// given, is told before each try (1-based) with its beam. Called by hopla-solve --stages and by
// the editor's check (on a thread of its own: everything it touches is its own).
StageResult JudgeStage(const StageFile& file, int stage, const JudgeOptions& options,
                       const std::function<void(int tryNumber, int beam)>& progress = {});

// The demo of `stage` played with `inputs` (what JudgeStage found), with the stages line of
// `id`, checked by playing it back on the same stages. Throws std::runtime_error, one line,
// when it does not play back.
std::string RecordJudgedDemo(const StageFile& file, const DemoStages& id, int stage,
                             std::uint32_t seed, const std::vector<DemoInput>& inputs);

// The par demo's file name: NAME-stage-03.demo.
std::string JudgedDemoName(const std::string& name, int stage);

// hopla-solve --stages: every stage the file replaces (or only `only`) in file order, one line
// each on `out` ("stage  3: 412 ticks" or "stage  3: not cleared within its search: ..."), the
// par demo of each stage cleared written into `outDir`. Returns 0 when every stage was cleared,
// 1 when one was not, 2 when a demo could not be written (said on `err`).
int JudgeStageFile(const ChosenStages& stages, std::optional<int> only, const std::string& outDir,
                   const JudgeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace hopla
