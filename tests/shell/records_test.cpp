// The player's records: which lines of records.txt are records, the records page, and that a
// damaged file is put aside with its good records carried over, never lost.
#include <gtest/gtest.h>

#include <unistd.h>
#include <functional>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <regex>
#include <sstream>
#include <string>

#include "demo/DemoFile.h"
#include "demo/Recorder.h"
#include "headless/DemoPlayback.h"
#include "headless/Ghost.h"
#include "headless/GhostRuns.h"
#include "shell/GameFiles.h"
#include "shell/Race.h"
#include "shell/RecordKeeper.h"
#include "shell/Records.h"
#include "shell/Splits.h"
#include "shell/StageLookup.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

const std::string kTicks =
    "100,200,300,400,500,600,700,800,900,1000,1100,1200,1300,1400,1500,"
    "1600,1700,1800,1900,2000,2100";
const std::string kGood =
    "2026-12-08T10:31:05 score=2370 code=eddd lost=2 ticks=" + kTicks + " from=play";

GameRecord Game(std::string when, int score, int stage0Ticks, RecordFrom from = RecordFrom::Play) {
    GameRecord r;
    r.when = std::move(when);
    r.score = score;
    r.code = score < 10000 ? "abcd" : "";
    r.ballsLost = 1;
    r.ticks.fill(500);
    r.ticks[0] = stage0Ticks;
    r.from = from;
    return r;
}

// A game that ended in "Game Over" in stage `stage`, every stage before it cleared in `ticks`.
GameRecord Over(std::string when, int stage, int ticks, RecordFrom from = RecordFrom::Play) {
    GameRecord r = Game(std::move(when), 0, ticks, from);
    r.code.clear();
    r.gameOver = true;
    r.reached = stage + 1;
    r.ballsLost = 9;
    r.ticks.fill(0);
    for (int s = 0; s <= stage; ++s) r.ticks[s] = ticks;
    r.score = 270 + (stage + 1) * ticks / 10;
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
        // A game over's stages reached, and an assisted game.
        {"2026-12-08T10:31:05 score=777 code=- lost=9 reached=5,6,7 from=play\n", 1, {}},
        {kGood.substr(0, kGood.size() - 4) + "assisted\n", 1, {}},
        {"2026-12-08T10:31:05 score=1 code=- lost=9 reached= from=play\n", 0, {1}},
        {"2026-12-08T10:31:05 score=1 code=- lost=9 reached=" + kTicks + ",1 from=play\n", 0, {1}},
        {kGood + " reached=1\n", 0, {1}},  // both a finished game's ticks and a game over's
        // The balls lost in each stage reached: as many as the stages, adding up to lost=.
        {"2026-12-08T10:31:05 score=777 code=- lost=9 lost_in=0,9 reached=5,6 from=play\n", 1, {}},
        {"2026-12-08T10:31:05 score=777 code=- lost=9 lost_in=1,7 reached=5,6 from=play\n", 0, {1}},
        {"2026-12-08T10:31:05 score=777 code=- lost=9 lost_in=9 reached=5,6 from=play\n", 0, {1}},
        {"2026-12-08T10:31:05 score=777 code=- lost=9 lost_in=0,x9 reached=5,6 from=play\n",
         0,
         {1}},
    };
    for (const auto& c : cases) {
        const ParsedRecords parsed = ParseRecords(c.text);
        EXPECT_EQ(parsed.records.games.size(), c.records) << c.text;
        EXPECT_EQ(parsed.damagedLines, c.damaged) << c.text;
    }
    // What is written reads back as it was.
    GameRecord counted = Over("2026-01-06T00:00:00", 2, 9);
    counted.lostIn = {{4, 0, 5}};
    const Records records{{Game("2026-01-02T03:04:05", 12000, 7), counted,
                           Game("2026-01-03T00:00:00", 9, 8, RecordFrom::Demo),
                           Over("2026-01-04T00:00:00", 20, 8, RecordFrom::Assisted),
                           Over("2026-01-05T00:00:00", 0, 9)}};
    EXPECT_EQ(ParseRecords(FormatRecords(records)).records, records);
    EXPECT_EQ(FormatRecord(ParseRecords(kGood).records.games.at(0)), kGood);
}

// Only the player's own unassisted games count: a demo's and an assisted game's never, a game
// over for the stages it cleared; the last games and the assisted ones are listed apart.
TEST(Records, ThePageShowsTheBestOwnGameTheBestStagesAndTheLastGames) {
    EXPECT_EQ(RecordsSummary({}, true), std::vector<std::string>{"No game finished yet."});
    const Records records{{Game("2026-01-01T10:00:00", 3000, 400),
                           Game("2026-01-02T11:30:00", 2500, 900),
                           Game("2026-01-03T12:00:00", 100, 5, RecordFrom::Demo),
                           Game("2026-01-03T13:00:00", 90, 6, RecordFrom::Assisted),
                           Over("2026-01-04T09:00:00", 2, 300),
                           Over("2026-01-04T10:00:00", 1, 1, RecordFrom::Assisted)}};
    EXPECT_EQ(RecordsSummary(records, true),
              (std::vector<std::string>{
                  "Best game: score 2500 (abcd), 1 ball lost",
                  "  played 2026-01-02 11:30; games finished: 2",
                  "Fewest ticks in each stage (par: the solver's):",
                  "   0:   300 (61)     1:   300 (62)     2:   500 (79)",
                  "   3:   500 (52)     4:   500 (79)     5:   500 (80)",
                  "   6:   500 (50)     7:   500 (40)     8:   500 (75)",
                  "   9:   500 (67)    10:   500 (48)    11:   500 (78)",
                  "  12:   500 (79)    13:   500 (89)    14:   500 (61)",
                  "  15:   500 (21)    16:   500 (59)    17:   500 (45)",
                  "  18:   500 (87)    19:   500 (9)    20:   500 (45)",
                  "Sum of best stages: score 1010 (10100 ticks)",
                  "Last games:",
                  "  2026-01-04 09:00  Game Over in stage 2, score 360",
                  "  2026-01-02 11:30  finished, score 2500",
                  "  2026-01-01 10:00  finished, score 3000",
                  "Assisted games (kept apart):",
                  "  2026-01-04 10:00  Game Over in stage 1, score 270",
                  "  2026-01-03 13:00  finished, score 90",
              }));
    // Game overs alone: no best game, the stages they cleared.
    // A stage file's records: no par (the solver's is of the game's own stages).
    const std::vector<std::string> overs =
        RecordsSummary({{Over("2026-01-04T09:00:00", 1, 70)}}, false);
    ASSERT_EQ(overs.size(), 12u);
    EXPECT_EQ(overs[0], "No game finished yet.");
    EXPECT_EQ(overs[1], "Fewest ticks in each stage:");
    EXPECT_EQ(overs[2], "   0:    70     1:     -     2:     -");
    EXPECT_EQ(overs[9], "Sum of best stages: score 7 (70 ticks, 1 of 21 stages)");
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
        {Game("2026-01-03T10:00:00", 10, 400, RecordFrom::Demo), false},  // a demo played back
        {Game("2026-01-03T11:00:00", 10, 400, RecordFrom::Assisted), false},
        {Over("2026-01-03T12:00:00", 0, 1), false},
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
    EXPECT_EQ(read(dir_ / "hopla" / "best.demo"), "demo 6\n");
}

// Plays `demo` as the window's loop does, each input told to `keeper` first, as the window's
// loop tells it; false when the playback went astray.
bool PlayNoting(SimCore& sim, const Demo& demo, RecordKeeper& keeper) {
    Player player(sim.game(), sim.clock(), demo);
    while (!player.mismatch() && !player.finished()) {
        const std::optional<Game::DueTimer> next = sim.game().nextDue();
        if (player.inputDue()) {
            Duration to = std::chrono::milliseconds(player.next()->ms);
            sim.clock().advanceTo(next ? std::min(to, next->due) : to);
            keeper.note(player.next()->kind, player.next()->code);
            player.deliverNext();
        } else if (next) {
            sim.clock().advanceTo(next->due);
            sim.game().runDueTimer();
        } else {
            return false;
        }
    }
    return !player.mismatch();
}

// A game that ends in "Game Over" is kept with the stages it reached, a finished one once at
// its final screen (this demo begins in the ending); the keeper asked after every handler as
// the window's loop asks it after every tick. A player's game in slow motion is kept apart:
// never the best, no demo kept. The player's own game keeps its balls lost by stage and its
// demo for the best game and for every stage it cleared in the fewest ticks: a whole demo that
// plays back headless with every check matching.
TEST_F(RecordsFile, AGameOverIsKeptAndAFinishedGameOnce) {
    const struct {
        const char* demo;
        RecordFrom from;
        bool slowed;
        RecordFrom kept;
    } cases[] = {
        {"game-over", RecordFrom::Demo, false, RecordFrom::Demo},
        {"ending", RecordFrom::Demo, false, RecordFrom::Demo},
        {"ending", RecordFrom::Play, true, RecordFrom::Assisted},
        {"game-over", RecordFrom::Play, true, RecordFrom::Assisted},
        {"game", RecordFrom::Play, false, RecordFrom::Play},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir_);
        const bool over = std::string_view(c.demo) == "game-over";
        const bool own = c.kept == RecordFrom::Play;
        const Demo demo =
            ReadDemoFile(HOPLA_ASSET_DIR "/../tests/demos/" + std::string(c.demo) + ".demo");
        SimCore sim(demo.seed, HOPLA_BUILD_DIR, WaveFileLength);
        RecordKeeper keeper(sim.game(), sim.clock(), demo.seed, dir_.string(), c.from);
        keeper.slowed(c.slowed);
        std::ostringstream out, err;
        const ObserverHandle watch =
            sim.game().observe([&](std::string_view) { keeper.check(out, err); });
        ASSERT_TRUE(PlayNoting(sim, demo, keeper)) << c.demo;
        const Records records = LoadRecords(dir_.string(), now_).records;
        ASSERT_EQ(records.games.size(), 1u) << err.str();
        const GameRecord& game = records.games[0];
        EXPECT_EQ(game.gameOver, over);
        EXPECT_EQ(game.from, c.kept);
        EXPECT_EQ(BestGame(records).has_value(), own);
        EXPECT_EQ(fs::exists(dir_ / "best.demo"), own);
        EXPECT_EQ(fs::exists(StageDemoPath(dir_.string(), 0)), own);
        if (own) {
            const std::string kept = read(dir_ / "best.demo");
            for (int s = 0; s < kRecordStages; ++s)
                EXPECT_EQ(read(StageDemoPath(dir_.string(), s)), kept) << s;
            const Demo again = ParseDemo(kept, "best.demo");
            SimCore replay(again.seed, HOPLA_BUILD_DIR, WaveFileLength);
            const PlaybackResult played = PlayDemo(replay, again);
            EXPECT_TRUE(played.finished && !played.mismatch);
            ASSERT_TRUE(game.lostIn);
            EXPECT_EQ(std::accumulate(game.lostIn->begin(), game.lostIn->end(), 0), game.ballsLost);
        }
        if (!over) continue;
        EXPECT_EQ(game.reached, 4);  // the demo starts at stage 3
        EXPECT_EQ(game.ballsLost, 9);
        EXPECT_EQ(game.lostIn, (std::array<int, kRecordStages>{0, 0, 0, 9}));
        EXPECT_EQ(game.ticks[3], sim.state().StageTime[3]);
        EXPECT_GT(game.ticks[3], 0);
        EXPECT_EQ(game.score, 270 + game.ticks[3] / 10);
        EXPECT_TRUE(out.str().starts_with("hopla: Game Over in stage 3, score so far "))
            << out.str();
    }
}

// The race: a split at each stage's end against the best game (negative: ahead), its lost balls
// counted at the last stage; none going back to the title room; a new game starts afresh.
TEST(Records, TheRaceSplitsEachStageAgainstTheBest) {
    // 400 ticks in stage 0, 500 in each other.
    const GameRecord best = Game("2026-01-01T10:00:00", 3000, 400);
    Race::Tally tally;
    tally.ballsLeft = 9;
    const auto after = [&](std::vector<int> ticks, int lost) {
        std::copy(ticks.begin(), ticks.end(), tally.stageTicks.begin());
        tally.ballsLost = lost;
        tally.ballsLeft = 9 - lost;
        return tally;
    };
    const struct {
        std::optional<GameRecord> best;
        int from, to;
        Race::Tally tally;
        std::optional<Split> split;
        std::string line;  // the overlay's last line
    } steps[] = {
        {best, 21, 0, after({0}, 0), {}, "Ticks 0   Score 0"},
        {best, 0, 1, after({380, 0}, 0), Split{0, 380, 380, 38, -20, -2},
         "Stage 0: 20 ticks ahead, score 2 ahead"},
        {best, 1, 2, after({380, 425}, 1), Split{1, 425, 805, 110, -95, 20},
         "Stage 1: 95 ticks ahead, score 20 behind"},
        {best, 2, 21, after({380, 425, 10}, 1), {}, "Stage 1: 95 ticks ahead, score 20 behind"},
        {best, 21, 0, after({0}, 0), {}, "Ticks 0   Score 0"},
        {std::nullopt, 0, 1, after({399}, 0), Split{0, 399, 399, 39, {}, {}},
         "Stage 0: 399 ticks, no best yet"},
    };
    Race race(best);
    for (const auto& step : steps) {
        if (step.from == 21 || !step.best) race = Race(step.best);
        race.update(step.from, step.tally);
        EXPECT_EQ(race.update(step.to, step.tally), step.split) << step.from << step.to;
        EXPECT_EQ(race.lines().back(), step.line) << step.from << step.to;
    }
    // A best game that kept its balls lost by stage counts each in its own stage.
    GameRecord counted = best;
    counted.lostIn.emplace();
    (*counted.lostIn)[0] = 1;
    Race byStage(counted);
    byStage.update(0, after({380, 0}, 0));
    EXPECT_EQ(byStage.update(1, after({380, 0}, 0)), (Split{0, 380, 380, 38, -20, -32}));
    EXPECT_EQ(SplitLine({3, 412, 1530, 153, -24, -2}),
              "split stage=3 ticks=412 total=1530 score=153 behind_ticks=-24 behind_score=-2");
    EXPECT_EQ(SplitLine({0, 399, 399, 39, {}, {}}),
              "split stage=0 ticks=399 total=399 score=39 behind_ticks=- behind_score=-");
}

// Where the ball of `demo`'s replay was, by (stage, ticks in it) as first seen, and as it left
// each stage.
struct Balls {
    std::map<std::pair<int, int>, GhostPoint> at;
    std::array<GhostPoint, kRecordStages> left{};
};
Balls BallsOf(const Demo& demo) {
    SimCore sim(demo.seed, HOPLA_BUILD_DIR, WaveFileLength);
    Balls balls;
    const ObserverHandle watch = sim.game().observe([&](std::string_view) {
        const int stage = sim.game().stage();
        if (stage >= kRecordStages) return;
        const GhostPoint ball{static_cast<int>(std::lround(sim.state().TrailX[0])),
                              static_cast<int>(std::lround(sim.state().TrailY[0]))};
        balls.at.try_emplace({stage, sim.game().tally().stageTicks[stage]}, ball);
        balls.left[stage] = ball;
    });
    EXPECT_TRUE(PlayDemo(sim, demo).finished);
    return balls;
}

// The ghost is the best demo's ball at the same tick of the same stage, however the game beside
// it asks: tick by tick, jumping ahead, past the stage's end (where the best game left it), and
// from a new game's start again.
TEST(Records, TheGhostIsTheBestDemosBallAtTheSameTick) {
    const Demo demo = ReadDemoFile(HOPLA_ASSET_DIR "/../tests/demos/game.demo");
    const Balls replay = BallsOf(demo);
    Ghost ghost(demo, HOPLA_BUILD_DIR, WaveFileLength);
    int asked = 0;
    for (const auto& [at, ball] : replay.at)
        if (at.first <= 2 || at.second % 37 == 0) {
            EXPECT_EQ(ghost.at(at.first, at.second), ball) << at.first << " " << at.second;
            ++asked;
        }
    EXPECT_GT(asked, 100);
    EXPECT_EQ(ghost.at(20, 100000), replay.left[20]);
    EXPECT_EQ(ghost.at(0, 1), replay.at.at({0, 1}));  // a new game
    EXPECT_EQ(ghost.at(1, 100000), replay.left[1]);
}

// A demo of the records holds the window's whole session up to its game: the ghost follows the
// last game in it. Made here: stage 0 left by Space for the title room, then a new game steered
// Left; the demo ended where the recording stands, as a game over's is.
TEST(Records, TheGhostFollowsTheDemosLastGame) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    std::ostringstream text;
    Recorder recorder(sim.game(), sim.clock(), 1, std::nullopt,
                      {"hopla", "1.0.0", "linux", DemoMaker::Person}, text);
    int game = 0;
    std::map<int, GhostPoint> last;  // ticks in stage 0 -> the last game's ball
    const ObserverHandle watch = sim.game().observe([&](std::string_view) {
        const int ticks = sim.game().tally().stageTicks[0];
        if (game == 1 && sim.game().stage() == 0)
            last.try_emplace(ticks,
                             GhostPoint{static_cast<int>(std::lround(sim.state().TrailX[0])),
                                        static_cast<int>(std::lround(sim.state().TrailY[0]))});
    });
    const auto until = [&](auto done) {
        for (int i = 0; i < 3000 && !done(); ++i) sim.runFor(10);
        ASSERT_TRUE(done());
    };
    for (; game < 2; ++game) {
        until([&] { return sim.game().stage() == 21 && sim.form().Timer1.running(); });
        recorder.deliver(InputKind::KeyDown, 39);  // Right, out of the title room
        until([&] { return sim.game().stage() == 0; });
        recorder.deliver(InputKind::KeyUp, 39);
        until([&] { return sim.form().Timer1.running(); });
        sim.runFor(1000);
        if (game == 1) break;
        recorder.deliver(InputKind::KeyDown, 32);  // Space: back to the title room
        recorder.deliver(InputKind::KeyUp, 32);
    }
    recorder.deliver(InputKind::KeyDown, 37);
    sim.runFor(1000);
    Ghost ghost(ParseDemo(text.str() + recorder.endLines(), "two-games.demo"), HOPLA_BUILD_DIR,
                WaveFileLength);
    ASSERT_GT(last.size(), 40u);
    for (const auto& [ticks, ball] : last) EXPECT_EQ(ghost.at(0, ticks), ball) << ticks;
}

// Each stage's best run from that stage's own demo, or the best game's on every stage, by the
// setting; a replay far behind catches up in slices of its budget.
TEST(Records, TheGhostRunsEachStagesBestOrTheBestGames) {
    const auto read = [](const char* name) {
        return std::make_shared<const Demo>(
            ReadDemoFile(HOPLA_ASSET_DIR "/../tests/demos/" + std::string(name) + ".demo"));
    };
    const std::shared_ptr<const Demo> game = read("game"), stage3 = read("stage-03");
    GhostRuns::StageRuns stages{};
    stages[3] = stage3;
    GhostRuns ghost(game, stages, HOPLA_BUILD_DIR, WaveFileLength);
    const Balls ofGame = BallsOf(*game), ofStage = BallsOf(*stage3);
    ghost.setStageBests(true);
    EXPECT_EQ(ghost.at(2, 5), std::nullopt);  // no run of stage 2 kept
    EXPECT_FALSE(ghost.behind());
    EXPECT_EQ(ghost.at(3, 30), ofStage.at.at({3, 30}));
    ghost.setStageBests(false);
    int slices = 0;
    std::optional<GhostPoint> at;
    do at = ghost.at(3, 30, 50);
    while (ghost.behind() && ++slices < 100000);
    EXPECT_GT(slices, 10);
    EXPECT_EQ(at, ofGame.at.at({3, 30}));
    EXPECT_EQ(ghost.at(2, 5), ofGame.at.at({2, 5}));
}

// The ghost's demos: a damaged one is one warning and no ghost from it, left as it is; the same
// run kept for two stages is read once.
TEST_F(RecordsFile, TheGhostsDemosAreReadOnceAndADamagedOneIsLeft) {
    fs::create_directories(dir_);
    std::ofstream(dir_ / "best.demo") << "hopla-demo 2\nseed x\n";
    const std::string game = read(HOPLA_ASSET_DIR "/../tests/demos/stage-03.demo");
    for (const int s : {3, 4}) std::ofstream(StageDemoPath(dir_.string(), s)) << game;
    const RunDemos runs = LoadRunDemos(dir_.string());
    EXPECT_FALSE(runs.game);
    ASSERT_EQ(runs.warnings.size(), 1u);
    EXPECT_TRUE(
        runs.warnings[0].starts_with("no ghost from " + (dir_ / "best.demo").string() + ":2: "))
        << runs.warnings[0];
    ASSERT_TRUE(runs.stages[3]);
    EXPECT_EQ(runs.stages[3], runs.stages[4]);
    EXPECT_EQ(std::count(runs.stages.begin(), runs.stages.end(), nullptr), kRecordStages - 2);
    EXPECT_EQ(read(dir_ / "best.demo"), "hopla-demo 2\nseed x\n");
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

// Whether `xml` is well-formed: one root element, every tag closed in order, attributes quoted,
// no '<' or bare '&' in text. Enough for what LiveSplitFile writes, which has no comments.
bool WellFormed(const std::string& xml) {
    std::vector<std::string> open;
    int roots = 0;
    std::size_t at = xml.starts_with("<?xml ") ? xml.find("?>") + 2 : 0;
    while (at < xml.size()) {
        const std::size_t lt = xml.find('<', at);
        const std::string text = xml.substr(at, lt - at);
        for (std::size_t amp = text.find('&'); amp != std::string::npos;
             amp = text.find('&', amp + 1))
            if (!std::regex_search(text.substr(amp), std::regex("^&(amp|lt|gt|quot|apos);")))
                return false;
        if (open.empty() && text.find_first_not_of(" \n") != std::string::npos) return false;
        if (lt == std::string::npos) break;
        const std::size_t gt = xml.find('>', lt);
        if (gt == std::string::npos) return false;
        const std::string tag = xml.substr(lt + 1, gt - lt - 1);
        static const std::regex kOpen(R"(^([A-Za-z]+)( [A-Za-z]+="[^"<&]*")*( /)?$)");
        std::smatch m;
        if (tag.starts_with("/")) {
            if (open.empty() || open.back() != tag.substr(1)) return false;
            open.pop_back();
        } else if (std::regex_match(tag, m, kOpen)) {
            if (open.empty()) ++roots;
            if (!m[3].matched) open.push_back(m[1]);
        } else {
            return false;
        }
        at = gt + 1;
    }
    return open.empty() && roots == 1;
}

// The best run as a LiveSplit file: well-formed, a segment a stage, the best game's splits and
// each stage's fewest ticks, at 30 ms a tick; nothing before a game is finished.
TEST(Records, TheSplitsFileHasASegmentAStage) {
    EXPECT_FALSE(LiveSplitFile({{Over("2026-01-04T09:00:00", 3, 70)}}, "Any%"));
    for (const char* bad : {"<Run>", "<a><b></a></b>", "<a x=1></a>", "<a>&</a>", "<a/><b/>"})
        EXPECT_FALSE(WellFormed(bad)) << bad;
    const Records records{
        {Game("2026-01-01T10:00:00", 3000, 400), Over("2026-01-04T09:00:00", 2, 300)}};
    const std::optional<std::string> lss = LiveSplitFile(records, "R&D <\x01pack>");
    ASSERT_TRUE(lss);
    EXPECT_TRUE(WellFormed(*lss)) << *lss;
    EXPECT_NE(lss->find("<CategoryName>R&amp;D &lt; pack&gt;</CategoryName>"), std::string::npos);
    std::size_t segments = 0;
    for (std::size_t at = 0; (at = lss->find("<Segment>", at)) != std::string::npos; ++at)
        ++segments;
    EXPECT_EQ(segments, 21u);
    EXPECT_NE(lss->find("<Name>Stage 20</Name>"), std::string::npos);
    // Stage 0 took 400 ticks in the best game, 300 at best: 12 s and 9 s; the whole game
    // 400 + 20 * 500 ticks: 5 min 12 s.
    EXPECT_NE(lss->find("<RealTime>00:00:12.0000000</RealTime>"), std::string::npos);
    EXPECT_NE(lss->find("<GameTime>00:00:09.0000000</GameTime>"), std::string::npos);
    EXPECT_NE(lss->find("<RealTime>00:05:12.0000000</RealTime>"), std::string::npos);
}

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
#ifndef _WIN32
TEST_F(RecordsFile, HoplaRecordsPrintsThePage) {
    const std::string records = (dir_ / "hopla").string();
    const ChosenStages pack = LoadStages("first-steps", "", HOPLA_BUILD_DIR "/");
    fs::create_directories(records);
    std::ofstream(records + "/records.txt") << kGood << "\n";
    KeepRecord(RecordsDirFor(records, pack.id), Game("2026-01-01T10:00:00", 777, 400), "", now_);
    const std::string lss = (dir_ / "best.lss").string();
    const struct {
        std::string args;
        std::string starts;
        int status = 0;
    } cases[] = {
        {"--records",
         "Best game: score 2370 (eddd), 2 balls lost\n"
         "  played 2026-12-08 10:31; games finished: 1\n"},
        {"--stages first-steps --records", "Best game: score 777"},
        {"--records --stages " + pack.path, "Best game: score 777"},
        // The splits: written once, replaced only with --force, or to standard output.
        {"--records --splits " + lss, "Best game: score 2370"},
        {"--records --splits " + lss, "hopla: cannot write " + lss + ": already exists (--force",
         1},
        {"--records --splits " + lss + " --force", "Best game: score 2370"},
        {"--records --splits -", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Run"},
        {"--splits " + lss, "hopla: --splits goes with --records", 2},
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
        EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), c.status) << c.args;
        EXPECT_TRUE(out.starts_with(c.starts)) << c.args << ": " << out;
    }
}
#endif  // runs hopla through popen and env

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
