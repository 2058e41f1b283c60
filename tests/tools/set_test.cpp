// The `set` command over the record's name table: every variable reachable by its name, each
// type converted and range-checked, texts taken verbatim or quoted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include "form/GameStateFields.h"
#include "shell/GameFiles.h"
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
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
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
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
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
        std::string line;
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
        {"set Tick 2147483647", "out of range -4..100"},
        {"set CellOrderX 0 0 -2147483648", "out of range 0..24"},
        {"set TrailY 0 1e308", "out of range -600..1200"},
        {"set SpeedY -1e308", "out of range -40..40"},
        {"set Score 72343", "out of range 0..72342"},
        {"set BallInterval 65536", "out of range 15..65535"},
        {"set SoundDir " + std::string(4097, '/'), "at most 4096 bytes"},
        {"set Nope 1", "no variable 'Nope'"},
    };
    for (const auto& c : cases) {
        const testing::SimRun run = testing::Simulate(c.line + "\n");
        EXPECT_EQ(run.status, kScriptBadLine) << c.line;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.line << " -> " << run.err;
    }
}

template <typename T>
concept Array = !std::is_same_v<T, std::string> && requires(const T& t) {
    t.size();
    t.back();
};

// The indices of the last entry of `value`, each after a space ("" for a single value).
template <typename T>
std::string LastEntry(const T& value) {
    if constexpr (Array<T>) {
        return " " + std::to_string(value.size() - 1) + LastEntry(value.back());
    } else {
        return "";
    }
}

template <typename T>
struct EntryOf {
    using Type = T;
};
template <Array T>
struct EntryOf<T> {
    using Type = typename EntryOf<typename T::value_type>::Type;
};

// Every variable takes the values the record's field list gives it, up to the edges, and
// nothing past them: a value outside is a bad line naming the line and the range. Numbers just
// inside and just outside each end (at an array's last entry); texts of up to the most bytes,
// not one more, and nothing but UTF-8 without NUL.
TEST(Set, EveryVariableTakesItsRangeAndNothingBeyond) {
    struct Case {
        std::string set;  // "set Name indices "
        std::string name;
        std::vector<std::string> inside, outside;
        std::string says;  // what each refusal says
    };
    std::vector<Case> cases;
    const GameState shape;
    VisitFields(shape, [&](const FieldInfo& field, const auto& member) {
        using Entry = typename EntryOf<std::remove_cvref_t<decltype(member)>>::Type;
        Case c;
        c.name = field.name;
        c.set = "set " + c.name + LastEntry(member) + " ";
        const double min = field.range.min, max = field.range.max;
        if constexpr (std::is_same_v<Entry, std::string>) {
            const auto most = static_cast<std::size_t>(max);
            c.inside = {"\"\"", std::string(most, 'a')};
            c.outside = {"\xff", R"("a\u0000b")", "\xc0\xaf", std::string(most + 1, 'a')};
            c.says = "at most " + JsonNumber(max) + " bytes";
        } else if constexpr (std::is_integral_v<Entry>) {
            const auto low = static_cast<long long>(min), high = static_cast<long long>(max);
            c.inside = {std::to_string(low), std::to_string(high)};
            c.outside = {std::to_string(low - 1), std::to_string(high + 1)};
            c.says = JsonNumber(min) + ".." + JsonNumber(max);
        } else {
            // Past the end by more than a float's rounding.
            const auto past = [](double end, double sign) {
                return JsonNumber(end + sign * 1e-3 * (std::abs(end) + 1));
            };
            c.inside = {JsonNumber(min), JsonNumber(max)};
            c.outside = {past(min, -1), past(max, 1)};
            c.says = JsonNumber(min) + ".." + JsonNumber(max);
        }
        cases.push_back(std::move(c));
    });
    std::vector<std::string> names, tableNames;
    for (const Case& c : cases) names.push_back(c.name);
    for (const StateField& field : StateFields()) tableNames.emplace_back(field.name);
    std::sort(names.begin(), names.end());
    std::sort(tableNames.begin(), tableNames.end());
    EXPECT_EQ(names, tableNames) << "the table holds every variable of the field list";

    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    for (const Case& c : cases) {
        const testing::SimRun inside =
            testing::SimulateOn(sim, c.set + c.inside[0] + "\n" + c.set + c.inside[1]);
        EXPECT_EQ(inside.status, kScriptDone) << c.name << ": " << inside.err;
        for (const std::string& outside : c.outside) {
            const testing::SimRun run = testing::SimulateOn(sim, "\n" + c.set + outside + "\n");
            EXPECT_EQ(run.status, kScriptBadLine) << c.set << outside;
            EXPECT_NE(run.err.find("line 2: " + c.name + ": "), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(c.says), std::string::npos)
                << c.set << outside << ": " << run.err;
        }
    }
}

// The ranges also check a whole record, as the soak does after every handler: start-up's
// record is inside them, and an entry outside is named with its indices.
TEST(Set, TheRangesCheckAWholeRecord) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
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
    SimCore ending(1, HOPLA_BUILD_DIR, WaveFileLength);
    ending.startStage(21);
    ending.runFor(13'000);  // into the ball run
    ASSERT_EQ(ending.state().EndPhase, 2);
    for (int i = 0; i < 10; ++i) ending.keyDown(37);
    ending.runFor(60'000);
    EXPECT_LT(ending.state().TrailX[0], -1000);

    SimCore play(1, HOPLA_BUILD_DIR, WaveFileLength);
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
