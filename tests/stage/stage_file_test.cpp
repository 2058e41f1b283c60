// Stage files: the game's own stages go out and come back exactly, a written file reads back as
// itself, and every kind of bad file gives one message naming the file and the line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "headless/SimCore.h"
#include "shell/GameFiles.h"
#include "stage/StageFile.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

const std::string kRows = [] {
    std::string rows = "row 11111111111111111111\n";
    for (int r = 1; r < 14; ++r) rows += "row 10000000000000000000\n";
    return rows + "row 11111111111111111111\n";
}();
const std::string kHead = "hopla-stages 1\nname Test\n";
const std::string kStage3 = "stage 3\nstart 100 460\n" + kRows;

// The text with the first `from` replaced by `to`.
std::string With(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

TEST(StageFile, TheGameOwnStagesExportedLoadBackToExactlyTheGameTable) {
    SimCore game(1, HOPLA_BUILD_DIR, WaveFileLength);  // start-up has filled the table
    const GameState& own = game.state();
    GameState s = own;
    // A table with other stages 0..20 first, so that only the export can restore it.
    StageFile other = GameStages();
    for (StageBlock& b : other.stages) {
        b.rows[1][5] = '2';
        b.startX = 60;
        b.startY = 60;
    }
    ApplyStages(other, s);
    ASSERT_NE(StageTableHash(s), StageTableHash(own));

    ApplyStages(ParseStages(ExportGameStages(), "hopla.stages"), s);
    EXPECT_EQ(s.StageMap, own.StageMap);
    EXPECT_EQ(s.StartX, own.StartX);
    EXPECT_EQ(s.StartY, own.StartY);
    EXPECT_EQ(StageTableHash(s), StageTableHash(own));
    // The value recorded from the first build: every build must agree, as demos name their
    // stages by it.
    EXPECT_EQ(StageTableHash(own), 0xbcf0c27bf60f0f0eull);
}

TEST(StageFile, AWrittenFileReadsBackAsItselfAndOnlyItsStagesChange) {
    // A line's length is counted in characters: 600 two-byte letters are a short line.
    std::string letters;
    for (int i = 0; i < 600; ++i) letters += "é";
    const std::string text = kHead + "author  Ａ. Player\t\r\n# " + letters + "\n\n" + kStage3 +
                             With(kStage3, "stage 3", "  stage 0  ") + "# the end";
    const StageFile file = ParseStages(text, "a.stages");
    EXPECT_EQ(file.author, "Ａ. Player");
    ASSERT_EQ(file.stages.size(), 2u);
    EXPECT_EQ(file.stages[1].stage, 0);  // in the order of the file
    EXPECT_EQ(ParseStages(FormatStages(file), "again.stages"), file);

    SimCore game(1, HOPLA_BUILD_DIR, WaveFileLength);
    GameState s = game.state();
    ApplyStages(file, s);
    EXPECT_EQ(s.StageMap[3][14], "11111111111111111111");
    EXPECT_EQ(s.StartY[3], 460);
    EXPECT_EQ(s.StageMap[1], game.state().StageMap[1]);
    EXPECT_EQ(s.StartX[1], game.state().StartX[1]);
}

TEST(StageFile, StagesThatWouldNotReadBackAreNotWritten) {
    StageFile file = ParseStages(kHead + kStage3, "a.stages");
    for (auto change :
         {+[](StageFile& f) { f.name = "two\nlines"; }, +[](StageFile& f) { f.author = " spaced"; },
          +[](StageFile& f) { f.stages[0].startY = 20; },
          +[](StageFile& f) { f.stages[0].rows[11] = "11111111111111111111"; },
          +[](StageFile& f) { f.stages.push_back(f.stages[0]); }}) {
        StageFile bad = file;
        change(bad);
        EXPECT_THROW(FormatStages(bad), StageFileError);
    }
}

TEST(StageFile, BadFilesGiveOneLineNamingTheFileAndLine) {
    const fs::path dir = fs::temp_directory_path() / ("hopla-stages-" + std::to_string(getpid()));
    fs::create_directories(dir);
#ifdef _WIN32
    // No FIFOs and no symbolic links for everyone there: a device in place of the file, which
    // the platform's reader refuses as no regular file, stands in for both.
    const std::string fifo = "NUL", loop = "NUL";
    const std::string fifoMessage = ": cannot read the stages: not a regular file",
                      loopMessage = fifoMessage;
#else
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string loop = (dir / "loop").string();
    fs::create_symlink("loop", loop);
    const std::string fifoMessage = ": cannot read the stages: not a regular file",
                      loopMessage = ": cannot read the stages: Too many levels of symbolic links";
#endif
    std::mt19937 rng(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());

    const struct {
        const char* what;
        std::string text;  // written to a file, unless `path` is given
        std::string message;
        std::string path = "";
    } cases[] = {
        {"no such file", "", ": cannot read the stages: no such file", (dir / "none").string()},
        {"a directory", "", ": cannot read the stages: not a regular file", dir.string()},
        {"a FIFO", "", fifoMessage, fifo},
        {"a link loop", "", loopMessage, loop},
        {"over 1 MiB", kHead + std::string(1 << 20, '#'), ": larger than 1 MiB"},
        {"random bytes", noise, ":1: not "},
        {"empty", "", ":1: the file is empty"},
        {"another format", "hopla-demo 1\n", ":1: not a hopla stage file"},
        {"newer version", "hopla-stages 2\n", ":1: stage file format version 2 is newer"},
        {"byte order mark", "\xEF\xBB\xBFhopla-stages 1\n", ":1: the file starts with a byte"},
        {"no name", "hopla-stages 1\n# none\n", ":3: the file has no name line"},
        {"stage before the name", "hopla-stages 1\n" + kStage3, ":2: the name line must come"},
        {"empty name", "hopla-stages 1\nname   \n", ":2: name has 0 characters"},
        {"long name", "hopla-stages 1\nname " + std::string(61, 'x'), ":2: name has 61"},
        {"second author", kHead + "author A\nauthor B\n", ":4: a second author line (the first"},
        {"author after a stage", kHead + kStage3 + "author A\n", ":20: author must come before"},
        {"unknown line", kHead + "stages 3\n", ":3: unknown line 'stages'"},
        {"stage 21", kHead + "stage 21\n", ":3: stage 21 is the title room"},
        {"stage 22", kHead + "stage 22\n", ":3: stage '22' is not a whole number 0..20"},
        {"stage twice", kHead + kStage3 + kStage3, ":20: stage 3 again (the first is at line 3)"},
        {"row outside a stage", kHead + kRows, ":3: a row line outside a stage"},
        {"no start", kHead + "stage 3\n" + kRows, ":3: stage 3 has no start line"},
        {"second start", kHead + "stage 3\nstart 60 60\nstart 60 60\n", ":5: stage 3 has a second"},
        {"start x too large", kHead + With(kStage3, "100 460", "760 460"), ":4: start x '760'"},
        {"start y too large", kHead + With(kStage3, "100 460", "100 565"), ":4: start y '565'"},
        {"start y not a number", kHead + "stage 1\nstart 60 6O\n", ":4: start y '6O' is not"},
        {"start in a tile",
         kHead + With(With(kStage3, "100 460", "100 60"), "row 1000", "row 1010"),
         ":4: the start point 100 60 lies in a tile: digit 3 of row 2 is 1, not 0"},
        {"fourteen rows", kHead + kStage3.substr(0, kStage3.rfind("row")),
         ":3: stage 3 has 14 rows"},
        {"sixteen rows", kHead + kStage3 + "row 00000000000000000000\n",
         ":20: stage 3 already has its 15 rows"},
        {"short row", kHead + With(kStage3, "row 1000", "row 000"), ":6: row has 19 characters"},
        {"tile code 7", kHead + With(kStage3, "row 1000", "row 1070"),
         ":6: row: '7' at digit 3 is not a tile code 0..6"},
        {"spaced row", kHead + With(kStage3, "row 1000", "row 1 00"), ":6: a row line is 'row'"},
        {"zero byte", kHead + std::string("# \0\n", 4), ":3: not text: byte 0x00 at column 3"},
        {"not UTF-8", kHead + "# caf\xE9\n", ":3: not UTF-8 text: byte 0xe9 at column 6"},
        {"line far too long", kHead + std::string(2000, '#') + "\n", ":3: the line is longer"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        if (path.empty()) {
            path = (dir / "bad.stages").string();
            std::ofstream(path, std::ios::binary) << c.text;
        }
        try {
            ReadStageFile(path);
            ADD_FAILURE() << c.what << ": read without complaint";
        } catch (const StageFileError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(path + c.message, 0), 0u) << c.what << ": " << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << c.what;
        }
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace hopla
