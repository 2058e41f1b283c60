// Recording the solver's inputs as a demo and checking it before it is written.
#include "solve/SolvedDemo.h"
#include "shell/DemoOrigin.h"
#include "shell/GameFiles.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "demo/DemoFile.h"
#include "demo/Recorder.h"
#include "headless/DemoPlayback.h"
#include "headless/SimCore.h"
#include "platform/Platform.h"

namespace hopla {

std::string RecordDemo(std::uint32_t seed, std::optional<int> startStage,
                       const std::vector<DemoInput>& inputs, bool wholeGame) {
    SimCore sim(seed, ExecutableDir(), WaveFileLength);
    if (startStage) sim.startStage(*startStage);
    std::ostringstream out;
    Recorder recorder(sim.game(), sim.clock(), seed, startStage,
                      ThisProgram("hopla-solve", DemoMaker::Solver), out);
    Game& game = sim.game();
    const int stage = game.stage();
    std::size_t i = 0;
    for (;;) {
        for (; i < inputs.size() && inputs[i].point == game.handlersRun() && !game.ended(); ++i) {
            sim.clock().advanceTo(milliseconds(inputs[i].ms));
            recorder.deliver(inputs[i].kind, inputs[i].code);
        }
        if (game.ended() || (!wholeGame && game.stage() != stage) || !sim.runNextTimer()) break;
    }
    recorder.finish();
    return out.str();
}

bool WriteDemo(const std::string& path, const std::string& text) {
    try {
        const Demo demo = ParseDemo(text, path);
        SimCore sim(demo.seed, ExecutableDir(), WaveFileLength);
        const PlaybackResult played = PlayDemo(sim, demo);
        if (!played.finished) {
            std::cerr << "hopla-solve: " << path << " does not play back: "
                      << (played.mismatch ? played.mismatch->message() : "it stops early") << '\n';
            return false;
        }
    } catch (const DemoError& e) {
        std::cerr << "hopla-solve: the demo written is not valid: " << e.what() << '\n';
        return false;
    }
    if (const std::optional<std::string> error = ReplaceFile(path, text, kTypedPath)) {
        std::cerr << "hopla-solve: " << *error << '\n';
        return false;
    }
    return true;
}

}  // namespace hopla
