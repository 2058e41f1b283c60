// Judging a stage file: the search on each of its stages, the lines and the par demos.
#include "solve/Judge.h"
#include "shell/GameFiles.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "demo/DemoFile.h"
#include "demo/Recorder.h"
#include "headless/DemoPlayback.h"
#include "platform/Platform.h"
#include "shell/DemoOrigin.h"

namespace hopla {
namespace {

// A headless game on the file's stages, at the start of play in `stage`; false when play never
// starts there (nothing runs, or the game ended).
bool StartOn(SimCore& sim, const StageFile& file, int stage) {
    sim.game().applyStages(file);
    sim.startStage(stage);
    while (!sim.game().ended() && !sim.form().Timer1.running())
        if (!sim.runNextTimer()) return false;
    return !sim.game().ended();
}

}  // namespace

StageResult JudgeStage(const StageFile& file, int stage, const JudgeOptions& options,
                       const std::function<void(int, int)>& progress) {
    SimCore sim(options.seed, ExecutableDir(), WaveFileLength);
    StageResult result;
    result.stage = stage;
    if (!StartOn(sim, file, stage)) {
        result.blocked = "the stage never starts";
        return result;
    }
    SearchOptions search;
    search.beam = options.beam;
    search.stop = options.stop;
    std::uint64_t tried = 0;
    for (int t = 1; t <= options.tries && !result.solved; ++t, search.beam *= 2) {
        if (progress) progress(t, search.beam);
        result = SolveStage(sim, search);
        tried += result.tried;
    }
    result.tried = tried;
    return result;
}

std::string RecordJudgedDemo(const StageFile& file, const DemoStages& id, int stage,
                             std::uint32_t seed, const std::vector<DemoInput>& inputs) {
    std::ostringstream out;
    {
        SimCore sim(seed, ExecutableDir(), WaveFileLength);
        sim.game().applyStages(file);
        sim.startStage(stage);
        Recorder recorder(sim.game(), sim.clock(), seed, stage,
                          ThisProgram("hopla-solve", DemoMaker::Solver), out, id);
        Game& game = sim.game();
        std::size_t i = 0;
        for (;;) {
            for (; i < inputs.size() && inputs[i].point == game.handlersRun() && !game.ended();
                 ++i) {
                sim.clock().advanceTo(milliseconds(inputs[i].ms));
                recorder.deliver(inputs[i].kind, inputs[i].code);
            }
            if (game.ended() || game.stage() != stage || !sim.runNextTimer()) break;
        }
        recorder.finish();
    }
    // Played back as its reader would: a fresh game with the same stages.
    const Demo demo = ParseDemo(out.str(), "the par demo");
    SimCore sim(seed, ExecutableDir(), WaveFileLength);
    sim.game().applyStages(file);
    const PlaybackResult played = PlayDemo(sim, demo);
    if (!played.finished)
        throw std::runtime_error("the par demo of stage " + std::to_string(stage) +
                                 " does not play back: " +
                                 (played.mismatch ? played.mismatch->message() : "it stops early"));
    return out.str();
}

std::string JudgedDemoName(const std::string& name, int stage) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", stage);
    return name + "-stage-" + number + ".demo";
}

int JudgeStageFile(const ChosenStages& stages, std::optional<int> only, const std::string& outDir,
                   const JudgeOptions& options, std::ostream& out, std::ostream& err) {
    int status = 0;
    bool any = false;
    for (const StageBlock& block : stages.file.stages) {
        if (only && block.stage != *only) continue;
        any = true;
        const StageResult r = JudgeStage(stages.file, block.stage, options);
        char line[64];
        std::snprintf(line, sizeof line, "stage %2d: ", block.stage);
        if (!r.solved) {
            out << line << "not cleared within its search (beam " << r.setting.beam
                << "): " << r.blocked << std::endl;
            status = std::max(status, 1);
            continue;
        }
        out << line << r.ticks << " ticks" << std::endl;
        const std::string path = (outDir.empty() ? std::string(".") : outDir) + "/" +
                                 JudgedDemoName(stages.id.name, block.stage);
        try {
            const std::string text =
                RecordJudgedDemo(stages.file, stages.id, block.stage, options.seed, r.inputs);
            if (const std::optional<std::string> error = ReplaceFile(path, text, kTypedPath))
                throw std::runtime_error(*error);
        } catch (const std::exception& e) {
            err << "hopla-solve: " << e.what() << std::endl;
            status = 2;
        }
    }
    if (only && !any) {
        err << "hopla-solve: " << stages.path << " does not replace stage " << *only << std::endl;
        return 2;
    }
    return status;
}

}  // namespace hopla
