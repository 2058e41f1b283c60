// Options first (nothing of SDL before they are known good), then settings, then the game.
#include "frontend/Main.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "demo/DemoFile.h"
#include "frontend/DemoLink.h"
#include "frontend/Options.h"
#include "frontend/Settings.h"
#include "platform/Platform.h"
#include "toolkit/Environment.h"
#include "toolkit/Escape.h"
#include "toolkit/Output.h"

namespace hopla {

AppOptions ChooseAppOptions(const Options& options, const std::string& settingsPath) {
    // The command line wins over what was remembered.
    AppOptions app;
    app.settingsPath = settingsPath;
    Settings remembered;
    if (!app.settingsPath.empty()) {
        const LoadedSettings loaded = LoadSettings(app.settingsPath);
        if (!loaded.warning.empty()) std::fprintf(stderr, "hopla: %s\n", loaded.warning.c_str());
        remembered = loaded.settings;
    }
    app.scale = options.scale ? options.scale : remembered.scale;
    app.fullscreen = options.fullscreen.value_or(remembered.fullscreen);
    app.scaling = options.scaling.value_or(remembered.scaling);
    app.mute = options.mute;
    app.volume = options.volume.value_or(remembered.volume);
    app.pauseWhenUnfocused = remembered.pauseWhenUnfocused;
    return app;
}

int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare) {
    KeepStandardStreamsApart();
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "hopla: %s\n%s", parsed.error.c_str(), Usage().c_str());
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::fputs(Usage().c_str(), stdout);
        return CheckedOutput("hopla", 0);
    }
    if (options.version) {
        std::printf("hopla %s\n", HOPLA_VERSION);
        return CheckedOutput("hopla", 0);
    }

    const AppOptions app = ChooseAppOptions(options, SettingsPath());

    // A demo is read, or its place checked (never opened: a pipe there would hold the game
    // before any window), before any window opens. The file itself comes with the window.
    std::optional<Demo> demo;
    if (options.record)
        if (const std::optional<std::string> why = WhyNotWritable(*options.record)) {
            std::fprintf(stderr, "hopla: cannot write the demo %s: %s\n",
                         Escaped(*options.record).c_str(), why->c_str());
            return 2;
        }
    if (options.play) {
        try {
            demo = ReadDemoFile(*options.play);
        } catch (const DemoError& e) {
            std::fprintf(stderr, "hopla: %s\n", e.what());
            return 2;
        }
    }

    HangupEndsAsTermination();
    SdlLibrary sdl;
    int status = 0;
    try {
        const std::uint32_t seed = demo ? demo->seed : ClockSeed();
        SdlApp game(seed, ExecutableDir(), app);
        std::unique_ptr<DemoLink> link;
        if (demo) {
            link = DemoLink::Playing(game.game(), game.clock(), std::move(*demo), *options.play,
                                     std::cerr, StandardErrorIsTerminal());
        } else if (options.record) {
            link = DemoLink::Recording(game.game(), game.clock(), seed, *options.record);
        }
        game.setDemo(link.get());
        if (prepare) prepare(game);
        game.run();
        if (link) status = link->finish(std::cerr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 1;
    }
    return status;
}

}  // namespace hopla
