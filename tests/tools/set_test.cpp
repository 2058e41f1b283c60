// The `set` command over the record's name table: every variable reachable by its name, each
// type converted and range-checked, texts taken verbatim or quoted.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/SimRun.h"
#include "tools/sim/StateFields.h"

namespace hopla {
namespace {

using testing::Json;

// The entry of `json` at `indices`.
const Json& At(const Json& json, const std::vector<std::size_t>& indices) {
    const Json* entry = &json;
    for (std::size_t i : indices) entry = &(*entry)[i];
    return *entry;
}

TEST(Set, ValuesReachTheRecordAndTheStateLine) {
    const struct {
        const char* command;
        const char* name;
        std::vector<std::size_t> indices;
        const char* printed;  // the JSON text of the entry afterwards
    } cases[] = {
        {"set StageNo 7", "StageNo", {}, "7"},
        {"set BallInterval 65535", "BallInterval", {}, "65535"},  // not limited to 16 bits
        {"set BallsLeft 0", "BallsLeft", {}, "0"},
        {"set HeldKey 255", "HeldKey", {}, "255"},
        {"set ProbeColor -1", "ProbeColor", {}, "-1"},
        {"set ProbeColor 16777215", "ProbeColor", {}, "16777215"},
        {"set SpeedX -2.5", "SpeedX", {}, "-2.5"},
        {"set SpeedX 0.1", "SpeedX", {}, "0.1"},  // single precision, printed as such
        {"set SpeedY 1e-7", "SpeedY", {}, "1e-07"},
        {"set WallHitSpeed 3", "WallHitSpeed", {}, "3"},
        {"set ScoreCode abcd", "ScoreCode", {}, "\"abcd\""},
        {"set ScoreCode   two  words  ", "ScoreCode", {}, "\"two  words\""},
        {"set ScoreCode \"\"", "ScoreCode", {}, "\"\""},
        {"set ScoreCode \" padded \\u00e9\"", "ScoreCode", {}, "\" padded é\""},
        {"set SoundDir /tmp/", "SoundDir", {}, "\"/tmp/\""},
        {"set TrailX 3 -10.75", "TrailX", {3}, "-10.75"},
        {"set StageTime 30 32767", "StageTime", {30}, "32767"},
        {"set StartX 21 -1", "StartX", {21}, "-1"},
        {"set BandOrder 100 600", "BandOrder", {100}, "600"},
        {"set KeyDirection 255 1", "KeyDirection", {255}, "1"},
        {"set StageMap 0 18 1234567890123456789012345",
         "StageMap",
         {0, 18},
         "\"1234567890123456789012345\""},
        {"set TileGrid 24 19 9", "TileGrid", {24, 19}, "9"},
        {"set CellOrderX 24 18 24", "CellOrderX", {24, 18}, "24"},
        {"set TypingSteps 1 4 Game Over", "TypingSteps", {1, 4}, "\"Game Over\""},
        {"set TypingSteps 0 0 Ｈｏ", "TypingSteps", {0, 0}, "\"Ｈｏ\""},
    };
    std::string script;
    for (const auto& c : cases) script += std::string(c.command) + "\nstate full\n";
    const testing::SimRun run = testing::Simulate(script);
    ASSERT_EQ(run.status, kScriptDone) << run.err;
    const auto states = run.with("StageNo");
    ASSERT_EQ(states.size(), std::size(cases));
    for (std::size_t i = 0; i < states.size(); ++i) {
        const Json& entry = At(states[i][cases[i].name], cases[i].indices);
        const std::string printed =
            entry.kind == Json::Kind::String ? JsonString(entry.text) : entry.numberText;
        EXPECT_EQ(printed, cases[i].printed) << cases[i].command;
    }
}

TEST(Set, ConvertsToTheRecordsOwnTypes) {
    SimCore sim(1, HOPLA_BUILD_DIR);
    const testing::SimRun run = testing::SimulateOn(
        sim, "set SpeedX 0.1\nset SpeedY 0.1\nset TrailY 9 1.5\nset Score 70000\n");
    ASSERT_EQ(run.status, kScriptDone) << run.err;
    EXPECT_EQ(sim.state().SpeedX, 0.1f);
    EXPECT_EQ(sim.state().SpeedY, 0.1);
    EXPECT_EQ(sim.state().TrailY[9], 1.5);  // beyond the four printed entries, still settable
    EXPECT_EQ(sim.state().Score, 70000);
}

// Every name of the table takes a value at its last entry and shows it in `state full`: the
// setter and the printer of each variable agree on name, shape and index order.
TEST(Set, EveryVariableOfTheTableRoundTrips) {
    SimCore sim(1, HOPLA_BUILD_DIR);
    for (const StateField& field : StateFields()) {
        std::string command = "set " + std::string(field.name);
        std::vector<std::size_t> indices;
        // The last entry that state lines print: entry 3 of the trail, else the last one.
        JsonWriter probe;
        field.write(probe, sim.state());
        const std::optional<Json> shape = testing::ParseJson(probe.str());
        ASSERT_TRUE(shape.has_value()) << field.name;
        const Json* level = &*shape;
        for (int i = 0; i < field.indexCount; ++i) {
            ASSERT_FALSE(level->items.empty()) << field.name;
            indices.push_back(level->items.size() - 1);
            command += " " + std::to_string(indices.back());
            level = &level->items.back();
        }
        const std::string number = JsonNumber(field.max);  // a value every variable takes
        command += field.isText ? " zz top" : " " + number;
        const testing::SimRun run = testing::SimulateOn(sim, command + "\nstate full\n");
        ASSERT_EQ(run.status, kScriptDone) << command << ": " << run.err;
        ASSERT_EQ(run.lines.size(), 1u);
        const Json& entry = At(run.lines[0][field.name], indices);
        if (field.isText) {
            EXPECT_EQ(entry.text, "zz top") << command;
        } else {
            EXPECT_EQ(entry.numberText, number) << command;
        }
    }
}

TEST(Set, RangeErrorsNameTheProblem) {
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"set BallsLeft 32768", "out of range 0..9"},
        {"set StageNo 99999999999", "out of range"},
        {"set TileGrid 25 0 1", "index 25 out of range 0..24"},
        {"set TileGrid 0 20 1", "index 20 out of range 0..19"},
        {"set StageTime 31 1", "index 31 out of range 0..30"},
        {"set SpeedX 4e38", "out of range"},
        {"set SpeedX fast", "not a finite number"},
        {"set Tick 1e3", "not an integer"},
        {"set Nope 1", "no variable 'Nope'"},
    };
    for (const auto& c : cases) {
        const testing::SimRun run = testing::Simulate(std::string(c.line) + "\n");
        EXPECT_EQ(run.status, kScriptBadLine) << c.line;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.line << " -> " << run.err;
    }
}

// Every variable takes the values the game itself gives it, up to the edges, and nothing past
// them: a value outside is a bad line naming the line and the range. Numbers just inside and
// just outside each end; texts are UTF-8 without NUL, at most 256 bytes (SoundDir 4096).
TEST(Set, EveryVariableTakesItsRangeAndNothingBeyond) {
    const std::string bad = "\xff", nul = R"("a\u0000b")";
    const std::string text256(256, 'a'), text257(257, 'a');
    const std::string path4096(4096, '/'), path4097(4097, '/');
    const struct {
        std::string name;
        std::string index;  // the entry's indices, "" for a single value
        std::string below, min, max, above;
        std::string says = "";  // what the refusal of below and above says; else "min..max"
    } cases[] = {
        {"StageNo", "", "-1", "0", "21", "1000000"},
        {"BallsLeft", "", "-1", "0", "9", "10"},
        {"BallState", "", "-1", "0", "4", "5"},
        {"TrailX", "3", "-800.5", "-800", "1600", "1600.5"},
        {"TrailY", "0", "-600.5", "-600", "1200", "1e308"},
        {"SpeedX", "", "-40.01", "-40", "40", "40.01"},
        {"SpeedY", "", "-1e308", "-40", "40", "40.01"},
        {"BallColor", "", "-1", "0", "15", "16"},
        {"BallInterval", "", "14", "15", "65535", "65536"},
        {"HeldKey", "", "-1", "0", "255", "256"},
        {"WallHitSpeed", "", "-40.01", "-40", "40", "40.01"},
        {"LauncherX", "", "-1", "0", "980", "981"},
        {"LauncherY", "", "-1", "0", "780", "781"},
        {"ProbeColor", "", "-2", "-1", "16777215", "16777216"},
        {"Tick", "", "-5", "-4", "100", "2147483647"},
        {"LoopX", "", "-1", "0", "25", "26"},
        {"EndPhase", "", "-1", "0", "10", "11"},
        {"Score", "", "-1", "0", "72342", "72343"},
        {"ScoreCode", "", bad, "\"\"", text256, text257, "256 bytes"},
        {"StageTime", "30", "-1", "0", "32767", "32768"},
        {"TypingRow", "", "-1", "0", "1", "2"},
        {"SoundDir", "", nul, "\"\"", path4096, path4097, "4096 bytes"},
        {"StageMap", "21 19", nul, "\"\"", text256, text257, "256 bytes"},
        {"StartX", "21", "-801", "-800", "1600", "1601"},
        {"StartY", "0", "-601", "-600", "1200", "1201"},
        {"TileGrid", "24 19", "-1", "0", "9", "10"},
        {"BandOrder", "100", "-1", "0", "600", "601"},
        {"CellOrderX", "0 0", "-2147483648", "0", "24", "25"},
        {"CellOrderY", "24 18", "-1", "0", "18", "19"},
        {"TypingSteps", "2 5", "\xc0\xaf", "\"\"", text256, text257, "256 bytes"},
        {"KeyDirection", "255", "-2", "-1", "1", "2"},
    };
    std::vector<std::string> names;
    for (const auto& c : cases) names.push_back(c.name);
    std::vector<std::string> tableNames;
    for (const StateField& field : StateFields()) tableNames.emplace_back(field.name);
    EXPECT_EQ(names, tableNames) << "every variable has its range here, in the table's order";

    SimCore sim(1, HOPLA_BUILD_DIR);
    for (const auto& c : cases) {
        const std::string set = "set " + c.name + (c.index.empty() ? "" : " " + c.index) + " ";
        const testing::SimRun inside = testing::SimulateOn(sim, set + c.min + "\n" + set + c.max);
        EXPECT_EQ(inside.status, kScriptDone) << c.name << ": " << inside.err;
        for (const std::string& outside : {c.below, c.above}) {
            const testing::SimRun run = testing::SimulateOn(sim, "\n" + set + outside + "\n");
            EXPECT_EQ(run.status, kScriptBadLine) << set << outside;
            const std::string says = c.says.empty() ? c.min + ".." + c.max : c.says;
            EXPECT_NE(run.err.find("line 2: " + c.name + ": "), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(says), std::string::npos) << set << outside << ": " << run.err;
        }
    }
}

// The ranges also check a whole record, as the soak does after every handler: start-up's
// record is inside them, and an entry outside is named with its indices.
TEST(Set, TheRangesCheckAWholeRecord) {
    SimCore sim(1, HOPLA_BUILD_DIR);
    for (const StateField& field : StateFields())
        EXPECT_EQ(field.check(sim.state()), "") << field.name;
    const struct {
        const char* name;
        void (*spoil)(GameState&);
        const char* says;
    } cases[] = {
        {"StageNo", [](GameState& s) { s.StageNo = 22; }, "StageNo: value 22 out of range 0..21"},
        {"SpeedY", [](GameState& s) { s.SpeedY = std::nan(""); },
         "SpeedY: value null out of range -40..40"},
        {"TypingSteps", [](GameState& s) { s.TypingSteps[1][3] = "\xff"; },
         "TypingSteps 1 3: not a text of UTF-8"},
    };
    for (const auto& c : cases) {
        GameState s = sim.state();
        c.spoil(s);
        EXPECT_EQ(FindStateField(c.name)->check(s).rfind(c.says, 0), 0u)
            << FindStateField(c.name)->check(s);
    }
}

// Play can take the ball beyond the values `set` takes, and the record's check lets it go: the
// ending's ball steered left runs on past the left edge, and a ball out over the top (as after
// climbing a wall) climbs on.
TEST(Set, TheChecksHoldABallFarOutOfTheWindow) {
    SimCore ending(1, HOPLA_BUILD_DIR);
    ending.startStage(21);
    ending.runFor(13'000);  // into the ball run
    ASSERT_EQ(ending.state().EndPhase, 2);
    for (int i = 0; i < 10; ++i) ending.keyDown(37);
    ending.runFor(60'000);
    EXPECT_LT(ending.state().TrailX[0], -1000);

    SimCore play(1, HOPLA_BUILD_DIR);
    play.startStage(1);
    play.runFor(2'500);  // the stage is loaded and the ball falls
    ASSERT_TRUE(play.form().Timer1.running());
    for (double& y : play.state().TrailY) y = -550;
    play.runFor(1'000);  // 7.3 pixels up a tick, and sideways towards the exit
    EXPECT_LT(play.state().TrailY[0], -600);

    for (SimCore* sim : {&ending, &play}) {
        for (const StateField& field : StateFields())
            EXPECT_EQ(field.check(sim->state()), "") << field.name;
    }
}

// What `set` guards against: an index past one array of the record lands in the record's next
// member, where ASan sees nothing; the sanitizer build's library checks stop it.
TEST(SanitizerBuild, StopsAtAnOverrunInsideTheRecord) {
#if defined(__SANITIZE_ADDRESS__)
    GameState s;
    volatile std::size_t past = s.StageTime.size();
    EXPECT_DEATH(s.StageTime[past] = 1, "");
#else
    GTEST_SKIP() << "only the sanitizer build checks indices";
#endif
}

}  // namespace
}  // namespace hopla
