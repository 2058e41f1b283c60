// The `set` command over the record's name table: every variable reachable by its name, each
// type converted and range-checked, texts taken verbatim or quoted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimRun.h"
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
        {"set BallInterval 100000", "BallInterval", {}, "100000"},  // not limited to 16 bits
        {"set BallsLeft -32768", "BallsLeft", {}, "-32768"},
        {"set HeldKey 32767", "HeldKey", {}, "32767"},
        {"set ProbeColor -1", "ProbeColor", {}, "-1"},
        {"set ProbeColor 2147483647", "ProbeColor", {}, "2147483647"},
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
        {"set TileGrid 24 19 -4", "TileGrid", {24, 19}, "-4"},
        {"set CellOrderX 24 18 100000", "CellOrderX", {24, 18}, "100000"},
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
        command += field.isText ? " zz top" : " 12";
        const testing::SimRun run = testing::SimulateOn(sim, command + "\nstate full\n");
        ASSERT_EQ(run.status, kScriptDone) << command << ": " << run.err;
        ASSERT_EQ(run.lines.size(), 1u);
        const Json& entry = At(run.lines[0][field.name], indices);
        if (field.isText) {
            EXPECT_EQ(entry.text, "zz top") << command;
        } else {
            EXPECT_EQ(entry.numberText, "12") << command;
        }
    }
}

TEST(Set, RangeErrorsNameTheProblem) {
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"set BallsLeft 32768", "out of range -32768..32767"},
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
