// hopla-sim --play and --salvage: a demo file played back headless, its checks and final state
// printed; a recording cut short made a demo again.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "demo/DemoStages.h"
#include "demo/Progress.h"
#include "shell/StageLookup.h"

namespace hopla {

// Exit statuses of a playback.
inline constexpr int kPlaybackMatched = 0;   // every check matched (up to --until)
inline constexpr int kPlaybackMismatch = 1;  // a check differs or the run could not follow
inline constexpr int kPlaybackBadDemo = 2;   // the file is not a demo this program reads

// Reads the demo at `path` and plays it on a game made with its seed and wave files from
// `exeDir`, as fast as it goes, up to its end or `untilMs`. Prints what its made line says
// ({"program", "version", "target", "made"}; nothing for a demo of format 1), one JSON line per
// check
// ({"t", "point", "stage", "check": "match"|"mismatch"}) and then the final state line on
// `out`; a bad demo or the first mismatch is one line on `err`, naming the file (and the line,
// or the point, stage and field). With `terminal` (standard error is one) a long playback says
// how far it is on `err` every few seconds of `wallClock`. `stages`, when given (--stages), go
// into the game's table first; a demo recorded on other stages is refused as a bad demo. A demo
// recorded on a stage file, played without --stages, plays on that file when the stage folders
// hold it (ChooseStagesForDemo).
struct PlaybackProgressReport {
    bool terminal = false;
    PlaybackProgress::WallClock wallClock = &std::chrono::steady_clock::now;
};
int PlayDemoFile(const std::string& path, std::optional<double> untilMs, const std::string& exeDir,
                 std::ostream& out, std::ostream& err, const PlaybackProgressReport& progress = {},
                 const ChosenStages* stages = nullptr);

// Writes on `out` the demo kept from the recording at `path`, cut short by a crash or a kill:
// up to its last whole check line (see SalvageDemo); says on `err` how far it goes. Returns
// kPlaybackBadDemo (nothing written) when the file is no demo even so, kPlaybackMismatch when
// `out` cannot be written.
int SalvageDemoFile(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace hopla
