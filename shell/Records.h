// The player's records: one line per finished game in records.txt, read, written and summed up
// without SDL or files (RecordKeeper does the files).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hopla {

inline constexpr int kRecordStages = 21;  // stages 0..20 of a game

// One finished game.
struct GameRecord {
    std::string when;  // local date and time, "2026-12-08T10:31:05"
    int score = 0;     // lower is better
    std::string code;  // the score's four-letter code; empty from 10000 on
    int ballsLost = 0;
    std::array<int, kRecordStages> ticks{};  // ball ticks spent in each stage
    bool fromDemo = false;  // a demo played back (--play), not the player's own game
    bool operator==(const GameRecord&) const = default;
};

struct Records {
    std::vector<GameRecord> games;  // oldest first
    bool operator==(const Records&) const = default;
};

// The file's text: a comment line, then one line per game:
//   2026-12-08T10:31:05 score=1234 code=abcd lost=2 ticks=120,340,...(21) from=play
// (`code=-` for no code; `from=demo` for a demo played back).
std::string FormatRecords(const Records& records);
std::string FormatRecord(const GameRecord& record);  // one line, without its '\n'

// The records of a file's text, and the numbers of the lines that are no record (blank lines
// and lines starting with '#' are neither).
struct ParsedRecords {
    Records records;
    std::vector<int> damagedLines;
};
ParsedRecords ParseRecords(std::string_view text);

// The player's best game: the lowest score among their own games (a demo's do not count), the
// earliest of equal ones; none before the first.
std::optional<GameRecord> BestGame(const Records& records);

// The records page, one line each (short enough for the menu's panel): the best game, how many
// games were finished, and the fewest ticks each stage took in the player's games, four stages
// a line. Shown by `hopla --records` and the menu's Records page.
std::vector<std::string> RecordsSummary(const Records& records);

}  // namespace hopla
