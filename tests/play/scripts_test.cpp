// The hopla-sim scripts under tests/play/scripts reproduce the worked numbers of ball play.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/SimRun.h"

namespace hopla {
namespace {

using testing::Json;
using testing::SimRun;

SimRun RunScriptFile(const std::string& name) {
    const std::string path = std::string(HOPLA_ASSET_DIR) + "/../tests/play/scripts/" + name;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::ostringstream text;
    text << in.rdbuf();
    SimRun run = testing::Simulate(text.str());
    EXPECT_EQ(run.status, 0) << run.err;
    return run;
}

// The trace lines of one handler, in order.
std::vector<Json> Trace(const SimRun& run, std::string_view handler) {
    std::vector<Json> lines;
    for (const Json& line : run.lines)
        if (line.has("event") && line["event"].text == handler) lines.push_back(line);
    return lines;
}

// Times at which a sound file was played (sound lines give the file name).
std::vector<double> SoundTimes(const SimRun& run, std::string_view file) {
    std::vector<double> t;
    for (const Json& line : run.with("sound"))
        if (line["sound"].kind == Json::Kind::String && line["sound"].text == file)
            t.push_back(line["t"].number);
    return t;
}

// SpeedY of the Timer1 ticks from the one at time `from` on.
std::vector<double> SpeedYFrom(const SimRun& run, double from) {
    std::vector<double> speeds;
    for (const Json& line : Trace(run, "Timer1"))
        if (line["t"].number >= from) speeds.push_back(line["SpeedY"].number);
    return speeds;
}

TEST(Scripts, FromALandingSpeedYRunsDownToMinusElevenAndAHalfAndStays) {
    const SimRun run = RunScriptFile("landing.sim");
    const std::vector<double> landings = SoundTimes(run, "junp.wav");
    ASSERT_EQ(landings.size(), 1u);
    const std::vector<double> speeds = SpeedYFrom(run, landings[0]);
    const std::vector<double> run8{8,    6.5, 5,    3.5, 2,    0.5, -1,
                                   -2.5, -4,  -5.5, -7,  -8.5, -10, -11.5};
    ASSERT_GT(speeds.size(), run8.size() + 3);
    EXPECT_TRUE(std::equal(run8.begin(), run8.end(), speeds.begin()));
    for (std::size_t i = run8.size(); i < speeds.size(); ++i) EXPECT_EQ(speeds[i], -11.5) << i;
}

TEST(Scripts, ASpringGivesSixteenAndTheFallSettlesAtMinusEleven) {
    const SimRun run = RunScriptFile("spring.sim");
    const std::vector<double> springs = SoundTimes(run, "jump.wav");
    ASSERT_EQ(springs.size(), 1u);
    const std::vector<double> speeds = SpeedYFrom(run, springs[0]);
    ASSERT_GT(speeds.size(), 22u);
    EXPECT_EQ(speeds[0], 16);
    for (std::size_t i = 1; i < speeds.size(); ++i)
        EXPECT_EQ(speeds[i], std::max(speeds[i - 1] - 1.5, -11.0)) << i;
    EXPECT_EQ(speeds.back(), -11);
}

TEST(Scripts, AFlightAtThirtyLeavesAWallAtFourPointTwoFifteenPixelsOff) {
    const SimRun run = RunScriptFile("flight.sim");
    const std::vector<Json> flight = Trace(run, "Timer3");
    ASSERT_GE(flight.size(), 2u);
    const Json& last = flight.back();
    const Json& before = flight[flight.size() - 2];
    for (std::size_t i = 0; i + 1 < flight.size(); ++i) EXPECT_EQ(flight[i]["SpeedX"].number, 30);
    const double contact = before["TrailX"][0].number + 30;
    EXPECT_EQ(last["WallHitSpeed"].number, 6);
    EXPECT_EQ(static_cast<float>(last["SpeedX"].number), -4.2F);
    EXPECT_EQ(last["TrailX"][1].number, contact - 15);
    EXPECT_EQ(last["BallState"].number, 0);
    EXPECT_EQ(last["timers"]["Timer3"].number, 0);
    EXPECT_EQ(last["timers"]["Timer1"].number, 30);
    EXPECT_EQ(SoundTimes(run, "junp.wav").back(), last["t"].number);
    // Normal motion follows: the ball drops at 4.2 to the left.
    const std::vector<Json> after = Trace(run, "Timer1");
    ASSERT_FALSE(after.empty());
    EXPECT_GT(after.back()["t"].number, last["t"].number);
    EXPECT_EQ(static_cast<float>(after.back()["SpeedX"].number), -4.2F);
    EXPECT_EQ(after.back()["WallHitSpeed"].number, 0);
}

TEST(Scripts, TheDriveWindowAndTheClamp) {
    const SimRun run = RunScriptFile("drive.sim");
    std::vector<std::pair<std::string, double>> got;
    for (const Json& line : run.lines)
        if (line.has("event")) got.emplace_back(line["event"].text, line["SpeedX"].number);
    const std::vector<std::pair<std::string, double>> want{{"Timer1", 11.5},  {"Timer1", 11.5},
                                                           {"KeyDown", 10},   {"Timer1", -11.5},
                                                           {"Timer1", -11.5}, {"KeyDown", -10}};
    EXPECT_EQ(got, want);
}

TEST(Scripts, TheLossAndExitLinesAreNotCrossedAtExactly552And750) {
    const SimRun run = RunScriptFile("lines.sim");
    const std::vector<Json> ticks = Trace(run, "Timer1");
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks[0]["TrailY"][0].number, 552);
    EXPECT_EQ(ticks[0]["BallsLeft"].number, 9);
    EXPECT_EQ(ticks[0]["timers"]["Timer1"].number, 30);
    EXPECT_EQ(ticks[1]["BallsLeft"].number, 8);  // past the line: lost
    EXPECT_EQ(ticks[1]["timers"]["Timer1"].number, 0);
    EXPECT_EQ(ticks[2]["TrailX"][0].number, 750);
    EXPECT_EQ(ticks[2]["StageNo"].number, 2);
    EXPECT_EQ(ticks[3]["StageNo"].number, 3);  // past the line: the next stage
    EXPECT_EQ(SoundTimes(run, "next.wav").back(), ticks[3]["t"].number);
}

TEST(Scripts, TheIntroductionRunsAtASixthOfTheBallInterval) {
    const SimRun run = RunScriptFile("intro.sim");
    std::vector<std::pair<double, double>> got;  // BallInterval, Timer4
    for (const Json& line : run.with("BallInterval"))
        got.emplace_back(line["BallInterval"].number, line["timers"]["Timer4"].number);
    const std::vector<std::pair<double, double>> want{{30, 5}, {45, 8}, {15, 2}, {75, 12}};
    EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace hopla
