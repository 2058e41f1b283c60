// The game's entry point: seeds, finds its own directory and runs the window until the end;
// with --record or --play FILE beside it a demo is recorded or played back.
#include <SDL.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "demo/DemoFile.h"
#include "frontend/DemoLink.h"
#include "frontend/SdlApp.h"
#include "frontend/SdlHandles.h"
#include "toolkit/Environment.h"

namespace {

constexpr std::string_view kUsage =
    "usage: hopla [--record DEMO | --play DEMO]\n"
    "  --record DEMO  play and write the game's input to DEMO as a demo\n"
    "  --play DEMO    play the demo back in the window; the player's keys are ignored\n";

struct DemoOption {
    bool record = false;
    std::string path;
};

}  // namespace

int main(int argc, char** argv) {
    std::optional<DemoOption> demoOption;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if ((arg == "--record" || arg == "--play") && i + 1 < argc && !demoOption) {
            demoOption = DemoOption{arg == "--record", argv[++i]};
            continue;
        }
        std::cerr << "hopla: unknown or repeated option " << arg << '\n' << kUsage;
        return 2;
    }
    std::optional<hopla::Demo> demo;
    if (demoOption && demoOption->record && !std::ofstream(demoOption->path, std::ios::app)) {
        std::cerr << "hopla: cannot write the demo " << demoOption->path << '\n';
        return 2;
    }
    if (demoOption && !demoOption->record) {
        try {
            demo = hopla::ReadDemoFile(demoOption->path);
        } catch (const hopla::DemoError& e) {
            std::cerr << "hopla: " << e.what() << '\n';
            return 2;
        }
    }

    hopla::SdlLibrary sdl;
    int status = 0;
    try {
        const std::uint32_t seed = demo ? demo->seed : hopla::ClockSeed();
        hopla::SdlApp app(seed, hopla::ExecutableDir());
        std::unique_ptr<hopla::DemoLink> link;
        if (demo) {
            link = hopla::DemoLink::Playing(app.game(), app.clock(), std::move(*demo),
                                            demoOption->path, std::cerr);
        } else if (demoOption) {
            link = hopla::DemoLink::Recording(app.game(), app.clock(), seed, demoOption->path);
        }
        app.setDemo(link.get());
        app.run();
        if (link) status = link->finish(std::cerr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 1;
    }
    return status;
}
