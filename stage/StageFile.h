// The stage file: a set of stages to play in place of the game's own (docs/stage-format.md).
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "form/GameState.h"
#include "stage/StageData.h"
#include "toolkit/Escape.h"

namespace hopla {

// Why a stage file cannot be read or written; what() is one line naming the file and, where
// there is one, the line: "my.stages:12: row has 19 digits, not 20".
struct StageFileError : std::runtime_error {
    // The file's control bytes come out escaped (toolkit/Escape.h).
    explicit StageFileError(std::string_view what) : std::runtime_error(Escaped(what)) {}
};

inline constexpr std::string_view kStageFileMagic = "hopla-stages";
inline constexpr int kStageFileVersion = 1;
// Files larger than this are refused unread: 21 stages take some 8 KiB.
inline constexpr std::uintmax_t kMaxStageFileBytes = 1u << 20;
inline constexpr int kMaxStageNameLength = 60;  // characters of a name or an author
// The start point's ranges: inside the frame of outer cells (columns 1..18, rows 1..13).
inline constexpr int kMinStartX = 40, kMaxStartX = 759;
inline constexpr int kMinStartY = 40, kMaxStartY = 559;

// One stage of a file: its number (0..20), the ball's start point and the 15 rows of 20 tile
// digits '0'..'6', exactly as the game's StageMap, StartX and StartY hold them.
struct StageBlock {
    int stage = 0;
    int startX = 0;
    int startY = 0;
    std::array<std::string, kStageRowCount> rows;
    bool operator==(const StageBlock&) const = default;
};

// A whole stage file: its name (1..60 characters), its author (empty: none) and the stages it
// replaces, in the order of the file, each stage number at most once.
struct StageFile {
    std::string name;
    std::string author;
    std::vector<StageBlock> stages;
    bool operator==(const StageFile&) const = default;
};

// Reads and checks the text of a whole stage file; `fileName` stands for the file in messages.
// Binary bytes, text that is not UTF-8, or any line that breaks the format throws
// StageFileError; nothing else is thrown for bad input. The runners read the file itself
// (shell/GameFiles.h).
StageFile ParseStages(std::string_view text, std::string_view fileName);

// The text of a stage file. A StageFile that would not read back as itself (a rule of the
// format broken, a name holding a line break) throws StageFileError instead: an editor saving
// it learns why before anything is written.
std::string FormatStages(const StageFile& file);

// Stages 0..20 of the game's own table as a stage file, and its text: what
// `hopla --export-stages` writes as a starting point for new stages.
StageFile GameStages();
std::string ExportGameStages();

// Puts the file's stages into the stage table in place of the game's own: StageMap rows 0..14
// from the file, rows 15..19 empty, as start-up leaves them; StartX and StartY. Stages the file
// does not hold keep what the table has. Called once after start-up (Form_Load has filled the
// table and shows the title room, which a file cannot replace) and before any stage is
// loaded; it loads and draws nothing.
void ApplyStages(const StageFile& file, GameState& state);

// A 64-bit hash of the stage table: every StageMap text of the 22 stages and every start
// point. The same table gives the same hash on every build, so a demo can name the stages it
// was recorded on; any change to a tile or a start point changes it.
std::uint64_t StageTableHash(const GameState& state);

}  // namespace hopla
