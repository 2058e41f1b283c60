// The game's whole start: the command line, the remembered settings, the window until the end.
#pragma once

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "frontend/SdlApp.h"

namespace hopla {

class DemoLink;
class RecordKeeper;

// Runs hopla with its command line and returns the exit status: 0 after the game or after
// --help/--version, 2 for a bad command line (one line saying what, then the usage; no window),
// 1 when the window cannot be opened. `prepare`, when given, sees the app before it runs (for
// probes and tests). `edit` runs the stage editor for --edit FILE with the window's options
// (the editor lives in a layer above the frontend); without it --edit is refused.
using EditorEntry = std::function<int(const std::string& file, const AppOptions& window)>;
int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare = {},
              const EditorEntry& edit = {});

// A started game: the window with the game after start-up, and the demo and records around it,
// ready for its loop. HoplaMain runs the loop itself; the browser (WebMain.cpp) one round per
// timeout, since a page must never block.
class Session {
  public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    SdlApp& app() { return *app_; }
    // The demo being played or recorded; null without one.
    DemoLink* demo() { return link_.get(); }
    // After the loop: the demo finished (a recording's end, a playback's last report). Returns
    // the exit status.
    int finish();

  private:
    friend struct SessionStart;
    SdlLibrary sdl_;
    std::unique_ptr<SdlApp> app_;
    std::unique_ptr<DemoLink> link_;
    std::unique_ptr<RecordKeeper> keeper_;
    std::unique_ptr<std::ofstream> splitsFile_;  // --splits-out FILE
};

// Everything of HoplaMain before the loop: the command line, the settings, a demo or stage file
// read, the window opened. Either the session, or the exit status when the program is done
// already (--help, --records, --edit, a bad command line: reported on standard error).
// `inBrowser` makes the window the browser's (never the whole screen at start; a sound the game
// waits for holds its clock instead of blocking).
struct Started {
    std::unique_ptr<Session> session;
    int status = 0;
};
Started StartHopla(int argc, char** argv, const EditorEntry& edit, bool inBrowser);

}  // namespace hopla
