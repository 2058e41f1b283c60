// The player's records: one line per game in records.txt (played to its end or to "Game Over"),
// read, written and summed up without SDL or files (RecordKeeper does the files).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hopla {

inline constexpr int kRecordStages = 21;  // stages 0..20 of a game

// Who played a game: the player, a demo played back (--play), or the player with an assist (the
// game slowed down). Only the player's own unassisted games are records; assisted ones are kept
// in a list of their own.
enum class RecordFrom { Play, Demo, Assisted };

// One game, finished or ended in "Game Over".
struct GameRecord {
    std::string when;  // local date and time, "2026-12-08T10:31:05"
    int score = 0;     // lower is better; of a game over, the score so far
    std::string code;  // the score's four-letter code; empty from 10000 on and for a game over
    int ballsLost = 0;
    std::array<int, kRecordStages> ticks{};  // ball ticks spent in each stage reached, 0 beyond
    // The balls lost in each stage reached, summing to ballsLost; none in a record of a version
    // that kept only the sum.
    std::optional<std::array<int, kRecordStages>> lostIn;
    bool gameOver = false;        // ended in "Game Over", in stage reached - 1
    int reached = kRecordStages;  // stages reached, 1..21; all of them for a finished game
    RecordFrom from = RecordFrom::Play;
    bool operator==(const GameRecord&) const = default;
};

struct Records {
    std::vector<GameRecord> games;  // oldest first
    bool operator==(const Records&) const = default;
};

// The file's text: a comment line, then one line per game:
//   2026-12-08T10:31:05 score=1234 code=abcd lost=2 ticks=120,340,...(21) from=play
// (`code=-` for no code; `from=demo` for a demo played back, `from=assisted` for an assisted
// game). A game over has `reached=T0,...,Tn` (its stages reached, n the one it ended in) in
// place of `ticks=`, which a version before game overs were kept refuses as damaged rather
// than take the game for a finished one. `lost_in=L0,...` after `lost=` gives the balls lost in
// each stage reached; a version before it passes it over, and a line without it still reads.
std::string FormatRecords(const Records& records);
std::string FormatRecord(const GameRecord& record);  // one line, without its '\n'

// The records of a file's text, and the numbers of the lines that are no record (blank lines
// and lines starting with '#' are neither).
struct ParsedRecords {
    Records records;
    std::vector<int> damagedLines;
};
ParsedRecords ParseRecords(std::string_view text);

// The player's best game: the lowest score among their own unassisted finished games, the
// earliest of equal ones; none before the first.
std::optional<GameRecord> BestGame(const Records& records);

// The fewest ticks each stage took in the player's own unassisted games, finished or not, among
// the stages they cleared; none for a stage never cleared.
std::array<std::optional<int>, kRecordStages> BestStageTicks(const Records& records);

// The records page, one line each (short enough for the menu's panel): the best game, how many
// games were finished, the fewest ticks each stage took (three stages a line; `withPar`, for the
// game's own stages, beside each its par: kStagePar, the solver's best) and their sum, the
// last games and the assisted games apart. Shown by `hopla --records` and the menu's Records
// page.
std::vector<std::string> RecordsSummary(const Records& records, bool withPar);

}  // namespace hopla
