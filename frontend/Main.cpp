// Options first (nothing of SDL before they are known good), then settings, then the game.
#include "frontend/Main.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

#include "frontend/Options.h"
#include "frontend/Settings.h"
#include "toolkit/Environment.h"

namespace hopla {

int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare) {
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "hopla: %s\n%s", parsed.error.c_str(), Usage().c_str());
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("hopla %s\n", HOPLA_VERSION);
        return 0;
    }

    // The command line wins over what was remembered.
    AppOptions app;
    app.settingsPath = SettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    Settings remembered;
    if (!app.settingsPath.empty()) {
        const LoadedSettings loaded = LoadSettings(app.settingsPath);
        if (!loaded.warning.empty()) std::fprintf(stderr, "hopla: %s\n", loaded.warning.c_str());
        remembered = loaded.settings;
    }
    app.scale = options.scale ? options.scale : remembered.scale;
    app.fullscreen = options.fullscreen.value_or(remembered.fullscreen);
    app.mute = options.mute;

    SdlLibrary sdl;
    try {
        SdlApp game(ClockSeed(), ExecutableDir(), app);
        if (prepare) prepare(game);
        game.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace hopla
