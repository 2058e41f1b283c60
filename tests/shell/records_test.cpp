// The player's records: which lines of records.txt are records, the records page, and that a
// damaged file is put aside with its good records carried over, never lost.
#include <gtest/gtest.h>

#include <unistd.h>
#include <functional>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/RecordKeeper.h"
#include "shell/Records.h"
#include "shell/StageLookup.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

const std::string kTicks =
    "100,200,300,400,500,600,700,800,900,1000,1100,1200,1300,1400,1500,"
    "1600,1700,1800,1900,2000,2100";
const std::string kGood =
    "2026-12-08T10:31:05 score=2370 code=eddd lost=2 ticks=" + kTicks + " from=play";

GameRecord Game(std::string when, int score, int stage0Ticks, bool fromDemo = false) {
    GameRecord r;
    r.when = std::move(when);
    r.score = score;
    r.code = score < 10000 ? "abcd" : "";
    r.ballsLost = 1;
    r.ticks.fill(500);
    r.ticks[0] = stage0Ticks;
    r.fromDemo = fromDemo;
    return r;
}

TEST(Records, WhichLinesAreRecords) {
    const struct {
        std::string text;
        std::size_t records;
        std::vector<int> damaged;
    } cases[] = {
        {"", 0, {}},
        {"# comment\n\n" + kGood + "\n" + kGood + "\r\n", 2, {}},
        {kGood + " later=field\n", 1, {}},            // a later version's field is passed over
        {"  " + kGood.substr(0, 50) + "\n", 0, {1}},  // cut short
        {"2026-12-8T10:31:05" + kGood.substr(19) + "\n", 0, {1}},               // date
        {kGood.substr(0, 19) + " score=-5" + kGood.substr(30) + "\n", 0, {1}},  // score
        {kGood + "\nscore=1\n" + kGood + " score=3\n", 1, {2, 3}},  // no date; a field twice
        {std::string("2026-12-08T10:31:05 score=1 code=ABCD lost=0 ticks=") + kTicks +
             " from=play\n",
         0,
         {1}},
        {std::string("2026-12-08T10:31:05 score=1 code=- lost=0 ticks=1,2 from=play\n"), 0, {1}},
        {std::string("2026-12-08T10:31:05 score=1 code=- lost=0 ticks=") + kTicks +
             " from=elsewhere\n",
         0,
         {1}},
        {std::string("\x7f"
                     "ELF\x02\x01\x01\x00\n",
                     8),
         0,
         {1}},
    };
    for (const auto& c : cases) {
        const ParsedRecords parsed = ParseRecords(c.text);
        EXPECT_EQ(parsed.records.games.size(), c.records) << c.text;
        EXPECT_EQ(parsed.damagedLines, c.damaged) << c.text;
    }
    // What is written reads back as it was.
    const Records records{
        {Game("2026-01-02T03:04:05", 12000, 7), Game("2026-01-03T00:00:00", 9, 8, true)}};
    EXPECT_EQ(ParseRecords(FormatRecords(records)).records, records);
    EXPECT_EQ(FormatRecord(ParseRecords(kGood).records.games.at(0)), kGood);
}

TEST(Records, ThePageShowsTheBestOwnGameAndTheFewestTicksOfEachStage) {
    EXPECT_EQ(RecordsSummary({}), std::vector<std::string>{"No game finished yet."});
    const Records records{{Game("2026-01-01T10:00:00", 3000, 400),
                           Game("2026-01-02T11:30:00", 2500, 900),
                           Game("2026-01-03T12:00:00", 100, 5, true)}};  // a demo's: not counted
    EXPECT_EQ(RecordsSummary(records), (std::vector<std::string>{
                                           "Best game: score 2500 (abcd), 1 ball lost",
                                           "  played 2026-01-02 11:30; games finished: 2",
                                           "Fewest ticks in each stage:",
                                           "   0:   400     1:   500     2:   500     3:   500",
                                           "   4:   500     5:   500     6:   500     7:   500",
                                           "   8:   500     9:   500    10:   500    11:   500",
                                           "  12:   500    13:   500    14:   500    15:   500",
                                           "  16:   500    17:   500    18:   500    19:   500",
                                           "  20:   500",
                                       }));
}

class RecordsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("hopla-records-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string read(const fs::path& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
    const LocalTime now_{2026, 12, 8, 10, 31, 5};
};

TEST_F(RecordsFile, EachGameIsAddedAndTheBestKeepsItsDemo) {
    const std::string dir = (dir_ / "hopla").string();
    const struct {
        GameRecord game;
        bool best;
    } steps[] = {
        {Game("2026-01-01T10:00:00", 3000, 400), true},
        {Game("2026-01-02T10:00:00", 3500, 400), false},
        {Game("2026-01-03T10:00:00", 10, 400, true), false},  // a demo played back
        {Game("2026-01-04T10:00:00", 2000, 400), true},
    };
    int n = 0;
    for (const auto& step : steps) {
        const std::string demo = "demo " + std::to_string(++n) + "\n";
        const KeptRecord kept = KeepRecord(dir, step.game, demo, now_);
        EXPECT_EQ(kept.error, "");
        EXPECT_EQ(kept.best, step.best) << n;
        EXPECT_EQ(LoadRecords(dir, now_).records.games.size(), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(read(dir_ / "hopla" / "best.demo"), "demo 4\n");
}

TEST_F(RecordsFile, ADamagedFileIsPutAsideItsGoodRecordsCarriedOver) {
    fs::create_directories(dir_);
    const fs::path path = dir_ / "records.txt";
    const std::string damaged = kGood + "\ngarbage\n" + kGood + "\n";
    std::ofstream(path) << damaged;
    const LoadedRecords loaded = LoadRecords(dir_.string(), now_);
    EXPECT_EQ(loaded.records.games.size(), 2u);
    const fs::path aside = dir_ / "records.txt.damaged-2026-12-08-10-31-05";
    ASSERT_EQ(loaded.warnings.size(), 1u);
    EXPECT_EQ(loaded.warnings[0], path.string() +
                                      ":2: not a record (1 damaged lines); the file is kept as " +
                                      aside.string() + " and its 2 good records carried over");
    EXPECT_EQ(read(aside), damaged);
    EXPECT_EQ(ParseRecords(read(path)).records, loaded.records);
    EXPECT_TRUE(LoadRecords(dir_.string(), now_).warnings.empty());
}

#ifndef _WIN32
// Whatever the file is, a new game's record never costs the old ones: a file that cannot be
// read is kept as it is and the games since go beside it; a link stays a link.
TEST_F(RecordsFile, EveryGameSurvivesAHostileFile) {
    fs::create_directories(dir_ / "elsewhere");
    const fs::path path = dir_ / "records.txt";
    std::string many;
    for (int i = 0; i < 60'000; ++i) many += kGood + "\n";  // about 17 MB
    const struct {
        const char* what;
        std::function<void()> make;
        std::size_t before;  // the games LoadRecords finds before the new one
        std::string keptIn;  // where the new game's record goes
    } cases[] = {
        {"large", [&] { std::ofstream(path) << many; }, 60'000, "records.txt"},
        {"a folder in its place", [&] { fs::create_directory(path); }, 0,
         "records-while-unreadable.txt"},
        {"a link",
         [&] {
             std::ofstream(dir_ / "elsewhere" / "r.txt") << kGood << "\n";
             fs::create_symlink(dir_ / "elsewhere" / "r.txt", path);
         },
         1, "records.txt"},
    };
    for (const auto& c : cases) {
        fs::remove_all(path);
        fs::remove(dir_ / "records-while-unreadable.txt");
        c.make();
        EXPECT_EQ(LoadRecords(dir_.string(), now_).records.games.size(), c.before) << c.what;
        const KeptRecord kept =
            KeepRecord(dir_.string(), Game("2026-12-08T10:00:00", 99, 400), "", now_);
        EXPECT_EQ(kept.error, "") << c.what;
        EXPECT_EQ(kept.path, (dir_ / c.keptIn).string()) << c.what;
        EXPECT_EQ(LoadRecords(dir_.string(), now_).records.games.size(), c.before + 1) << c.what;
    }
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ParseRecords(read(dir_ / "elsewhere" / "r.txt")).records.games.size(), 2u);
}
#endif

// A stage file's name becomes a folder's name that any file system takes.
TEST(Records, StageFileNamesMadeSafeForFolders) {
    const std::string dir = RecordsDirFor("/r", DemoStages{std::string(300, 'x') + "\x1b[2J", 1});
    const std::string folder = std::filesystem::path(dir).filename().string();
    EXPECT_EQ(folder, std::string(40, 'x') + "-0000000000000001");
    EXPECT_EQ(std::filesystem::path(RecordsDirFor("/r", DemoStages{"../my pack", 2})).filename(),
              "_.._my_pack-0000000000000002");
}

// `hopla --records` prints the page without opening a window; with --stages, the page of that
// stage file's own records, as the menu shows it during a game on them.
TEST_F(RecordsFile, HoplaRecordsPrintsThePage) {
#ifdef _WIN32
    GTEST_SKIP() << "runs hopla through popen and env";
#endif
    const std::string records = (dir_ / "hopla").string();
    const ChosenStages pack = LoadStages("first-steps", "", HOPLA_BUILD_DIR "/");
    fs::create_directories(records);
    std::ofstream(records + "/records.txt") << kGood << "\n";
    KeepRecord(RecordsDirFor(records, pack.id), Game("2026-01-01T10:00:00", 777, 400), "", now_);
    const struct {
        std::string args;
        std::string starts;
    } cases[] = {
        {"--records",
         "Best game: score 2370 (eddd), 2 balls lost\n"
         "  played 2026-12-08 10:31; games finished: 1\n"},
        {"--stages first-steps --records", "Best game: score 777"},
        {"--records --stages " + pack.path, "Best game: score 777"},
    };
    for (const auto& c : cases) {
        const std::string command = "env -u DISPLAY XDG_DATA_HOME=" + dir_.string() + " " +
                                    HOPLA_BUILD_DIR + "/hopla " + c.args + " 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        EXPECT_EQ(::pclose(pipe), 0) << c.args;
        EXPECT_TRUE(out.starts_with(c.starts)) << c.args << ": " << out;
    }
}

}  // namespace
}  // namespace hopla

namespace hopla {
namespace {

// Records of a stage file's games never mix with the game's own, nor with another file's.
TEST(Records, EachSetOfStagesKeepsItsOwnRecords) {
    const DemoStages pack{"first-steps", 0xcb66000000000001ull};
    EXPECT_EQ(RecordsDirFor("/r", std::nullopt), "/r");
    EXPECT_EQ(RecordsDirFor("/r", pack),
              (std::filesystem::path("/r") / "stages" / "first-steps-cb66000000000001").string());
    EXPECT_NE(RecordsDirFor("/r", DemoStages{"first-steps", 2}), RecordsDirFor("/r", pack));
    EXPECT_EQ(RecordsDirFor("", pack), "");
}

}  // namespace
}  // namespace hopla
