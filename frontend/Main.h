// The game's whole start: the command line, the remembered settings, the window until the end.
#pragma once

#include <functional>
#include <string>

#include "frontend/SdlApp.h"

namespace hopla {

struct Options;

// The window's options: the command line's, else what was remembered in `settingsPath` (empty:
// nothing remembered; a file that cannot be used is said in one line on standard error and
// ignored). HoplaMain and the browser's main (WebMain.cpp) ask once at start.
AppOptions ChooseAppOptions(const Options& options, const std::string& settingsPath);

// Runs hopla with its command line and returns the exit status: 0 after the game or after
// --help/--version, 2 for a bad command line (one line saying what, then the usage; no window),
// 1 when the window cannot be opened. `prepare`, when given, sees the app before it runs (for
// probes and tests).
int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare = {});

}  // namespace hopla
