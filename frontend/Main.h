// The game's whole start: the command line, the remembered settings, the window until the end.
#pragma once

#include <functional>

#include "frontend/SdlApp.h"

namespace hopla {

// Runs hopla with its command line and returns the exit status: 0 after the game or after
// --help/--version, 2 for a bad command line (one line saying what, then the usage; no window),
// 1 when the window cannot be opened. `prepare`, when given, sees the app before it runs (for
// probes and tests).
int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare = {});

}  // namespace hopla
