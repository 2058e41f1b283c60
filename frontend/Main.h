// The game's whole start: the command line, the remembered settings, the window until the end.
#pragma once

#include <functional>
#include <string>

#include "frontend/SdlApp.h"

namespace hopla {

// Runs hopla with its command line and returns the exit status: 0 after the game or after
// --help/--version, 2 for a bad command line (one line saying what, then the usage; no window),
// 1 when the window cannot be opened. `prepare`, when given, sees the app before it runs (for
// probes and tests). `edit` runs the stage editor for --edit FILE with the window's options
// (the editor lives in a layer above the frontend); without it --edit is refused.
using EditorEntry = std::function<int(const std::string& file, const AppOptions& window)>;
int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare = {},
              const EditorEntry& edit = {});

}  // namespace hopla
