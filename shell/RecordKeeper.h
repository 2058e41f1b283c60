// Keeping the player's records: every game recorded in memory as it is played, and at its final
// screen or its "Game Over" its record added to RecordsDir()/records.txt and, when it is the
// best, its demo kept as best.demo; so too for each stage it cleared in the fewest ticks yet,
// as best-stage-NN.demo.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/Game.h"
#include "demo/Recorder.h"
#include "platform/Platform.h"
#include "shell/Records.h"
#include "toolkit/Clock.h"

namespace hopla {

// "2026-12-08T10:31:05".
std::string DateTimeText(const LocalTime& time);

// The records file's path in `dir` (RecordsDir()).
std::string RecordsPath(const std::string& dir);
// The demo of the player's best run of `stage` (0..20) in `dir`: best-stage-07.demo, the whole
// demo of the game that cleared the stage in the fewest ticks, that game the demo's last.
std::string StageDemoPath(const std::string& dir, int stage);

struct LoadedRecords {
    Records records;
    std::vector<std::string> warnings;  // one line each, for the standard error
    // Where the next game's record goes: records.txt, or beside it while records.txt is there
    // but cannot be read (it is never replaced then).
    std::string target;
    std::vector<std::string> putAside;  // damaged files renamed aside earlier, to list
    std::string unreadable;  // why records.txt cannot be read and where games go; empty if it can
};

// Reads the records in `dir`. A missing file is no records. A file with a line that is no record
// is renamed to records.txt.damaged-DATE (`now`) and its good records are written back, with one
// warning naming both (when they cannot be written, the file goes back to its name); one that
// cannot be read at all (unreadable, too large) is left as it is, with a warning, and the games
// since go to records-while-unreadable.txt beside it, which is read too.
// Called by `hopla --records`, the menu's records page and KeepRecord.
LoadedRecords LoadRecords(const std::string& dir, const LocalTime& now);

// The demos a ghost replays, from `dir`: the best game's (best.demo) and each stage's best
// run's (best-stage-NN.demo); none where there is no file. Files of the same text share one
// demo. A file that cannot be read, is larger than a ghost's demo gets or is no demo is left as
// it is, with one warning line.
struct RunDemos {
    std::shared_ptr<const Demo> game;
    std::array<std::shared_ptr<const Demo>, kRecordStages> stages;
    std::vector<std::string> warnings;
};
RunDemos LoadRunDemos(const std::string& dir);

// What keeping a record came to.
struct KeptRecord {
    bool best = false;                  // the player's best game so far: its demo was kept
    std::vector<int> stages;            // the stages it cleared in the fewest ticks: demos kept
    std::vector<std::string> warnings;  // from reading the file
    std::string error;                  // the record could not be written; empty when it was
    std::string path;                   // the file it was written to
};

// Appends `record` to the records in `dir` (the whole file written anew, atomically) and, when
// it is a finished game of the player's own, unassisted, that beats their best and `demo` is
// not empty, writes `demo` as best.demo. A game of the player's own, finished or not, writes
// `demo` (a whole demo that ends with it) as the demo of each stage it cleared in fewer ticks
// than any game before.
KeptRecord KeepRecord(const std::string& dir, const GameRecord& record, std::string_view demo,
                      const LocalTime& now);

// Made by main right after the window's game ran start-up, beside a DemoLink if there is one.
// Records the player's game in memory, unless it is a demo playing (`from` Demo, recorded as
// such without a demo of its own); an assisted player's demo is marked assisted. A game on a
// stage file (`stages`) is recorded with its stages, so that its best demo names them; main
// keeps such records apart (RecordsDirFor).
// Where the records of games on `stages` are kept: `recordsDir` for the game's own stages,
// its folder stages/NAME-HASH for a stage file's, so that records of one set of stages never
// mix with another's. Empty when `recordsDir` is.
std::string RecordsDirFor(const std::string& recordsDir, const std::optional<DemoStages>& stages);

class RecordKeeper {
  public:
    RecordKeeper(Game& game, const Clock& clock, std::uint32_t seed, std::string dir,
                 RecordFrom from, const std::optional<DemoStages>& stages = std::nullopt);
    RecordKeeper(const RecordKeeper&) = delete;
    RecordKeeper& operator=(const RecordKeeper&) = delete;

    // Whether the game runs in slow motion: told at the start and at every change. A game of the
    // player's that runs slowed at any time from its first stage on is kept as assisted.
    void slowed(bool slowed);
    // Each input of the player, right before the loop hands it to the game.
    void note(InputKind kind, int code);
    // After every timer handler the loop ran: when a game's final screen shows, or its last ball
    // is lost, the game's record is kept, its outcome one line on `out` (or `err`, with any
    // warnings).
    void check(std::ostream& out, std::ostream& err);

  private:
    void keep(const GameRecord& record, const LocalTime& now, std::ostream& out, std::ostream& err);

    Game& game_;
    std::string dir_;
    RecordFrom from_;
    int reached_ = 0;        // stages the game being played has reached; 0 outside a game
    bool finished_ = false;  // the final screen's record is kept
    bool slowed_ = false;
    bool assisted_ = false;  // the game being played ran slowed
    // The balls lost in each stage of the game being played, and how many the game's tally
    // counted when they were last looked at.
    std::array<int, kRecordStages> lostIn_{};
    int lostSeen_ = 0;
    std::ostringstream demo_;
    std::unique_ptr<Recorder> recorder_;
};

}  // namespace hopla
