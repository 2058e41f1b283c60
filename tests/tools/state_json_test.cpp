// hopla-sim's state lines: the record's variables by name, arrays nested in index order,
// timers and labels, and the values right after start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/GameFiles.h"
#include "stage/StageData.h"
#include "support/SimRun.h"
#include "tools/sim/StateFields.h"

namespace hopla {
namespace {

using testing::Json;
using testing::Simulate;

const std::vector<std::string> kShortKeys = {
    "t",         "StageNo",      "BallsLeft", "BallState", "TrailX",
    "TrailY",    "SpeedX",       "SpeedY",    "BallColor", "BallInterval",
    "HeldKey",   "WallHitSpeed", "LauncherX", "LauncherY", "ProbeColor",
    "Tick",      "LoopX",        "EndPhase",  "Score",     "ScoreCode",
    "StageTime", "TypingRow",    "SoundDir",  "timers",    "labels"};
const std::vector<std::string> kFullOnly = {"StageMap",   "StartX",      "StartY",
                                            "TileGrid",   "BandOrder",   "CellOrderX",
                                            "CellOrderY", "TypingSteps", "KeyDirection"};

Json StateOf(const std::string& script) {
    const testing::SimRun run = Simulate(script);
    EXPECT_EQ(run.status, kScriptDone) << run.err;
    const auto states = run.with("StageNo");
    EXPECT_FALSE(states.empty());
    return states.empty() ? Json{} : states.back();
}

TEST(StateLine, ShortStateHasTheRecordsScalarsAndSmallArraysThenTimersAndLabels) {
    EXPECT_EQ(StateOf("state\n").keys(), kShortKeys);
}

TEST(StateLine, FullStateAddsTheBigArraysBeforeTimersAndLabels) {
    std::vector<std::string> expected(kShortKeys.begin(), kShortKeys.end() - 2);
    expected.insert(expected.end(), kFullOnly.begin(), kFullOnly.end());
    expected.insert(expected.end(), {"timers", "labels"});
    EXPECT_EQ(StateOf("state full\n").keys(), expected);
}

TEST(StateLine, ArraysHaveTheRecordsShapeWithEveryEntry) {
    const Json state = StateOf("state full\n");
    const struct {
        const char* name;
        std::size_t outer;
        std::size_t inner;  // 0 for one index
    } shapes[] = {
        {"TrailX", 4, 0},         {"TrailY", 4, 0},       {"StageTime", 31, 0},
        {"StartX", 22, 0},        {"StartY", 22, 0},      {"BandOrder", 101, 0},
        {"KeyDirection", 256, 0}, {"StageMap", 22, 20},   {"TileGrid", 25, 20},
        {"CellOrderX", 25, 19},   {"CellOrderY", 25, 19}, {"TypingSteps", 3, 6},
    };
    for (const auto& shape : shapes) {
        const Json& array = state[shape.name];
        ASSERT_EQ(array.kind, Json::Kind::Array) << shape.name;
        ASSERT_EQ(array.items.size(), shape.outer) << shape.name;
        for (const Json& item : array.items) {
            if (shape.inner == 0) {
                EXPECT_NE(item.kind, Json::Kind::Array) << shape.name;
            } else {
                ASSERT_EQ(item.kind, Json::Kind::Array) << shape.name;
                EXPECT_EQ(item.items.size(), shape.inner) << shape.name;
            }
        }
    }
}

TEST(StateLine, TwoIndexArraysNestInTheRecordsIndexOrder) {
    const Json state = StateOf(
        "set TileGrid 24 19 6\nset CellOrderX 3 17 5\nset CellOrderY 17 3 9\n"
        "set StageMap 21 19 tail\nset TypingSteps 2 5 \"a\\\"b\"\nstate full\n");
    EXPECT_EQ(state["TileGrid"][24][19].number, 6);
    EXPECT_EQ(state["CellOrderX"][3][17].number, 5);
    EXPECT_EQ(state["CellOrderY"][17][3].number, 9);
    EXPECT_EQ(state["StageMap"][21][19].text, "tail");
    EXPECT_EQ(state["TypingSteps"][2][5].text, "a\"b");
}

TEST(StateLine, RightAfterStartUp) {
    const Json state = StateOf("state full\n");
    EXPECT_EQ(state["t"].numberText, "0");
    EXPECT_EQ(state["StageNo"].number, 21);
    EXPECT_EQ(state["BallsLeft"].number, 1);
    EXPECT_EQ(state["BallInterval"].number, 30);
    EXPECT_EQ(state["BallColor"].number, 15);
    EXPECT_EQ(state["SpeedX"].numberText, "0");
    EXPECT_EQ(state["SpeedY"].numberText, "0");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(state["TrailX"][i].numberText, "420");
        EXPECT_EQ(state["TrailY"][i].numberText, "320");
    }
    for (int column = 0; column < 25; ++column) {
        for (int row = 0; row < 20; ++row) {
            const bool inMap = column < kStageColumnCount && row < kStageRowCount;
            const int code = inMap ? kStageRows[kTitleStage][row][column] - '0' : 0;
            EXPECT_EQ(state["TileGrid"][column][row].number, code) << column << "," << row;
        }
    }
    for (const Json& time : state["StageTime"].items) EXPECT_EQ(time.number, 0);
    EXPECT_EQ(state["Score"].number, 0);
    EXPECT_EQ(state["ScoreCode"].kind, Json::Kind::String);
    EXPECT_EQ(state["ScoreCode"].text, "");
    EXPECT_EQ(state["KeyDirection"][37].number, -1);
    EXPECT_EQ(state["KeyDirection"][39].number, 1);
    EXPECT_EQ(state["SoundDir"].text, std::string(HOPLA_BUILD_DIR) + "/");

    const Json& timers = state["timers"];
    EXPECT_EQ(timers.keys(), (std::vector<std::string>{"Timer1", "Timer2", "Timer3", "Timer4",
                                                       "Timer5", "Timer6", "Etimer"}));
    for (const std::string& name : timers.keys()) {
        EXPECT_EQ(timers[name].numberText, name == "Timer2" ? "2000" : "0") << name;
    }
    const Json& labels = state["labels"];
    EXPECT_EQ(labels.keys(), (std::vector<std::string>{"Label1", "Label2"}));
    for (const std::string& name : labels.keys()) {
        const Json& label = labels[name];
        EXPECT_EQ(label.keys(), (std::vector<std::string>{"caption", "left", "top", "width",
                                                          "visible", "transparent"}));
        EXPECT_EQ(label["visible"].kind, Json::Kind::Bool);
        EXPECT_FALSE(label["visible"].boolean) << name;
        EXPECT_EQ(label["width"].number, 185) << name;
    }
}

TEST(StateLine, LabelsShowWhatTheGameSetOnThem) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    Label& label = sim.form().Label2;
    label.setCaption("Stage  \"7\"");
    label.setLeft(-3);
    label.setTop(590);
    label.setWidth(40);
    label.setVisible(true);
    label.setTransparent(true);
    const testing::SimRun run = testing::SimulateOn(sim, "state\n");
    ASSERT_EQ(run.lines.size(), 1u);
    const Json& json = run.lines[0]["labels"]["Label2"];
    EXPECT_EQ(json["caption"].text, "Stage  \"7\"");
    EXPECT_EQ(json["left"].number, -3);
    EXPECT_EQ(json["top"].number, 590);
    EXPECT_EQ(json["width"].number, 40);
    EXPECT_TRUE(json["visible"].boolean);
    EXPECT_TRUE(json["transparent"].boolean);
    EXPECT_FALSE(run.lines[0]["labels"]["Label1"]["visible"].boolean);
}

TEST(StateLine, TimersShowTheirIntervals) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    sim.form().Timer2.setInterval(0);
    sim.form().Timer3.setInterval(45);
    sim.form().Etimer.setInterval(2500);
    const testing::SimRun run = testing::SimulateOn(sim, "state\n");
    ASSERT_EQ(run.lines.size(), 1u);
    const Json& timers = run.lines[0]["timers"];
    EXPECT_EQ(timers["Timer2"].number, 0);
    EXPECT_EQ(timers["Timer3"].number, 45);
    EXPECT_EQ(timers["Etimer"].number, 2500);
}

}  // namespace
}  // namespace hopla
