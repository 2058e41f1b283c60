// hopla-sim's other output: sound lines, trace lines, the `stage` command and pixel reads.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

#include "demo/DemoFile.h"
#include "shell/GameFiles.h"
#include "stage/StageData.h"
#include "support/SimRun.h"
#include "toolkit/Wave.h"
#include "tools/sim/Json.h"
#include "tools/sim/Playback.h"

namespace hopla {
namespace {

using testing::Json;
using testing::Simulate;

TEST(SoundLines, EachCallPrintsItsFileNameWaitFlagAndTime) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    std::ostringstream out;
    std::ostringstream err;
    {
        ScriptRunner runner(sim, out, err);
        const std::string dir = std::string(HOPLA_BUILD_DIR) + "/";
        sim.sound().play(dir + "jump.wav", true);  // waiting: the clock moves on by its length
        sim.sound().stop(false);
        sim.sound().play(dir + "missing.wav", false);
    }
    sim.sound().stop(false);  // the runner is gone: nothing more is printed
    const std::optional<Wave> jump = ReadWaveFile(std::string(HOPLA_BUILD_DIR) + "/jump.wav");
    ASSERT_TRUE(jump.has_value());
    const std::string afterJump = JsonNumber(SimCore::ToMs(jump->length()));
    EXPECT_EQ(out.str(),
              "{\"t\":0,\"sound\":\"jump.wav\",\"wait\":true}\n"
              "{\"t\":" +
                  afterJump +
                  ",\"sound\":null,\"wait\":false}\n"
                  "{\"t\":" +
                  afterJump + ",\"sound\":\"missing.wav\",\"wait\":false}\n");
}

TEST(SoundLines, AStopCarriesTheModeTheGameGaveIt) {
    struct {
        const char* script;
        bool wait;
    } cases[] = {
        {"stage 1\nat 3000\nkey down 32\n", true},  // Space back to the title room
        // The last ball falls out of stage 1: the wipe begins in silence, without waiting.
        {"stage 1\nat 3000\nset BallsLeft 1\nset TrailY 0 570\nset SpeedY 0\nwait 30\n", false},
    };
    for (const auto& c : cases) {
        const testing::SimRun run = Simulate(c.script);
        ASSERT_EQ(run.status, kScriptDone) << run.err;
        bool stopped = false;
        for (const Json& line : run.with("sound")) {
            if (line["sound"].kind == Json::Kind::Null) {
                EXPECT_EQ(line["wait"].boolean, c.wait) << c.script;
                stopped = true;
            }
        }
        EXPECT_TRUE(stopped) << c.script;
    }
}

TEST(TraceLines, FollowEveryHandlerWhileTraceIsOn) {
    const testing::SimRun run = Simulate(
        "key down 39\ntrace on\nkey down 39\nkey up 39\nmouse 2\nat 2000\ntrace off\n"
        "key up 37\nat 3000\n");
    ASSERT_EQ(run.status, kScriptDone) << run.err;
    const auto events = run.with("event");
    ASSERT_GE(events.size(), 4u);
    const char* expected[] = {"KeyDown", "KeyUp", "MouseDown", "Timer2"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i]["event"].text, expected[i]);
        EXPECT_TRUE(events[i].has("StageNo") && events[i].has("timers"));
        EXPECT_FALSE(events[i].has("TileGrid")) << "trace lines are short state lines";
    }
    EXPECT_EQ(events[2]["t"].numberText, "0");
    EXPECT_EQ(events[3]["t"].numberText, "2000");
    EXPECT_EQ(events[0].keys()[1], "event");
    for (const Json& event : events) {
        EXPECT_LE(event["t"].number, 2000) << "no trace after 'trace off'";
    }
}

TEST(StageCommand, StartsAStageAsIfTheBallHadLeftTheOneBefore) {
    const struct {
        int stage;
        int stageNo;  // afterwards
        int timer4;   // the introduction's interval, 0 for the ending
        int etimer;
        bool nextSound;
    } cases[] = {
        {0, 0, 5, 0, true},   {1, 1, 5, 0, true},       {7, 7, 5, 0, true},
        {20, 20, 5, 0, true}, {21, 21, 0, 2500, false},
    };
    for (const auto& c : cases) {
        // Start-up left Timer2 armed; the stage command stops whatever was running.
        const testing::SimRun run = Simulate("set StageTime 3 50\nset StageTime 25 9\nstage " +
                                             std::to_string(c.stage) + "\nstate\n");
        ASSERT_EQ(run.status, kScriptDone) << run.err;
        const Json state = run.with("StageNo").at(0);
        EXPECT_EQ(state["StageNo"].number, c.stageNo) << c.stage;
        const Json& timers = state["timers"];
        for (const char* stopped : {"Timer1", "Timer2", "Timer3", "Timer5", "Timer6"}) {
            EXPECT_EQ(timers[stopped].number, 0) << c.stage << " " << stopped;
        }
        EXPECT_EQ(timers["Timer4"].number, c.timer4) << c.stage;
        EXPECT_EQ(timers["Etimer"].number, c.etimer) << c.stage;
        EXPECT_EQ(state["BallColor"].number, 0) << "the ball is hidden until the stage loads";
        const auto sounds = run.with("sound");
        EXPECT_EQ(sounds.size(), c.nextSound ? 1u : 0u) << c.stage;
        if (c.nextSound && !sounds.empty()) {
            EXPECT_EQ(sounds[0]["sound"].text, "next.wav");
        }
        if (c.stage < 21) {
            EXPECT_EQ(state["TrailX"][0].number, kStartX[c.stage]) << c.stage;
            EXPECT_EQ(state["TrailY"][3].number, kStartY[c.stage]) << c.stage;
        }
        // From the title room every stage starts a new game: nine balls, the times cleared.
        EXPECT_EQ(state["StageTime"][3].number, 0) << c.stage;
        EXPECT_EQ(state["StageTime"][25].number, 9) << c.stage;
        EXPECT_EQ(state["BallsLeft"].number, 9) << c.stage;
    }
}

TEST(StageCommand, KeepsTheBallsOfARunningGameAndRenewsALostOne) {
    struct {
        const char* script;
        int balls;
        int time3;
    } cases[] = {
        {"stage 2\nset BallsLeft 4\nset StageTime 3 50\nstage 5\n", 4, 50},
        {"stage 2\nset BallsLeft 0\nset StageTime 3 50\nstage 5\n", kBallsPerGame, 0},
        {"stage 21\nset StageTime 3 50\nstage 5\n", kBallsPerGame, 0},
    };
    for (const auto& c : cases) {
        const testing::SimRun run = Simulate(std::string(c.script) + "state\n");
        ASSERT_EQ(run.status, kScriptDone) << run.err;
        const Json state = run.with("StageNo").at(0);
        EXPECT_EQ(state["StageNo"].number, 5) << c.script;
        EXPECT_EQ(state["BallsLeft"].number, c.balls) << c.script;
        EXPECT_EQ(state["StageTime"][3].number, c.time3) << c.script;
    }
}

TEST(StageCommand, TheIntroductionFollowsTheBallSpeed) {
    const testing::SimRun run = Simulate("set BallInterval 45\nstage 3\nstate\n");
    ASSERT_EQ(run.status, kScriptDone) << run.err;
    EXPECT_EQ(run.with("StageNo").at(0)["timers"]["Timer4"].number, 8);
}

TEST(PixelCommand, ReadsDisplayAtTheRoundedPoint) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    sim.form().Display.fillRect({10, 20, 11, 21}, 0x123456);
    sim.form().Display.fillRect({799, 599, 800, 600}, 0xFFFFFF);
    const testing::SimRun run = testing::SimulateOn(
        sim,
        "pixel 10 20\npixel 10.4 20.5\npixel 9.5 20\npixel 10.5 18.5\npixel 799 599\n"
        "pixel 800 0\npixel -1 0\npixel 0 600\n");
    ASSERT_EQ(run.status, kScriptDone) << run.err;
    const struct {
        const char* x;
        const char* y;
        int color;
    } expected[] = {{"10", "20", 0x123456},  {"10.4", "20.5", 0x123456},
                    {"9.5", "20", 0x123456},  // halves go to the even pixel
                    {"10.5", "18.5", 0},     {"799", "599", 0xFFFFFF},
                    {"800", "0", -1},        {"-1", "0", -1},
                    {"0", "600", -1}};
    ASSERT_EQ(run.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < run.lines.size(); ++i) {
        const Json& line = run.lines[i];
        EXPECT_EQ(line.keys(), (std::vector<std::string>{"t", "x", "y", "color"}));
        EXPECT_EQ(line["x"].numberText, expected[i].x);
        EXPECT_EQ(line["y"].numberText, expected[i].y);
        EXPECT_EQ(line["color"].number, expected[i].color) << i;
    }
}

// A long playback says how far it is every few seconds, on a terminal only; the wall clock here
// moves a second per look.
TEST(PlaybackProgressLines, ComeEveryFewSecondsOnATerminalOnly) {
    const std::string demo = std::string(HOPLA_ASSET_DIR) + "/../tests/demos/stage-15.demo";
    for (const bool terminal : {false, true}) {
        std::chrono::steady_clock::time_point wall;
        const PlaybackProgressReport report{terminal,
                                            [&] { return wall += std::chrono::seconds(1); }};
        std::ostringstream out, err;
        ASSERT_EQ(PlayDemoFile(demo, std::nullopt, HOPLA_BUILD_DIR, out, err, report),
                  kPlaybackMatched);
        const std::uint64_t end = ReadDemoFile(demo).endPoint;
        std::istringstream lines(err.str());
        std::uint64_t last = 0, count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            unsigned long long handler = 0, of = 0;
            int percent = -1;
            ASSERT_EQ(std::sscanf(line.c_str(), "hopla-sim: %d%% (handler %llu of %llu)", &percent,
                                  &handler, &of),
                      3)
                << line;
            EXPECT_EQ(of, end);
            EXPECT_EQ(percent, static_cast<int>(handler * 100 / end)) << line;
            EXPECT_EQ(handler, last + 3) << "a line every three seconds: " << line;
            last = handler;
        }
        EXPECT_EQ(count, terminal ? end / 3 : 0) << err.str();
    }
}

}  // namespace
}  // namespace hopla
