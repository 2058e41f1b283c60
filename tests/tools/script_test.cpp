// hopla-sim's script reading: bad lines stop the run with their line number, comments and
// blank lines are skipped, time only moves forward, the end of the application ends the run.
#include <gtest/gtest.h>

#include <string>

#include "shell/GameFiles.h"
#include "support/SimRun.h"

namespace hopla {
namespace {

using testing::Simulate;
using testing::SimulateOn;

TEST(Script, BadLinesStopTheRunWithTheirLineNumberAndStatus2) {
    const std::string badLines[] = {
        "bogus",
        "at",
        "at -5",
        "at x",
        "at 5 6",
        "at nan",
        "wait -1",
        "wait 1e300",
        "at 100000000001",  // past the three years a script may reach
        "key down",
        "key down 256",
        "key down -1",
        "key press 32",
        "key up 3.5",
        "mouse 0",
        "mouse 3",
        "mouse 5",
        "mouse",
        "stage 22",
        "stage -1",
        "stage 2 3",
        "set",
        "set NoSuchVar 1",
        "set stageno 1",
        "set StageNo",
        "set StageNo 1 2",
        "set StageNo 1.5",
        "set StageNo 0x10",
        "set StageNo 2147483648",
        "set BallsLeft 32768",
        "set BallsLeft -32769",
        "set SpeedX 1e39",
        "set SpeedY nan",
        "set SpeedY inf",
        "set SpeedY 1e400",
        "set TrailX 10 1",
        "set TrailX -1 1",
        "set TrailX 1",
        "set TileGrid 25 0 1",
        "set TileGrid 0 20 1",
        "set TileGrid 0 1",
        "set TypingSteps 3 0 x",
        "set TypingSteps 0 6 x",
        "set ScoreCode",
        "set StageMap 0 0 \"unterminated",
        "set ScoreCode \"a\" b",
        "state nonsense",
        "state full full",
        "trace",
        "trace maybe",
        "pixel 1",
        "pixel a b",
        "pixel 1 2 3",
        "shot",
        "shot \"a\\u0000b.png\"",
        std::string("shot a\0b.png", 12),
        "set ScoreCode \xff",
        "set StageMap 0 0 \"\xe3\x81\"",
        std::string(kMaxLineBytes + 1, '#'),  // even a comment
        "State",
        "\x1b]0;a title\x07bogus",
    };
    for (const std::string& bad : badLines) {
        // Two lines of comment and blank before: the number counts every line of the file.
        const std::string script = "# a comment\n\nstate\n" + bad + "\nstate\n";
        const testing::SimRun run = Simulate(script);
        const std::string shown = bad.substr(0, 40);
        EXPECT_EQ(run.status, kScriptBadLine) << shown;
        EXPECT_NE(run.err.find("line 4:"), std::string::npos) << shown << " -> " << run.err;
        EXPECT_EQ(run.with("StageNo").size(), 1u) << shown << ": only the line before ran";
        // Nothing of the line reaches the terminal as a control byte or a broken character.
        EXPECT_EQ(run.err.find_first_of(std::string("\x1b\x07\x7f\xff\0", 5)), std::string::npos)
            << shown << " -> " << run.err;
    }
}

TEST(Script, CommentsBlankLinesAndLineEndsAreSkipped) {
    const testing::SimRun run =
        Simulate("# at 5000\n\n   \t\n   # indented comment\nat 100\r\n\r\nstate  \r\n");
    EXPECT_EQ(run.status, kScriptDone);
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(run.lines[0]["t"].numberText, "100");
}

TEST(Script, AnEmptyScriptPrintsNothing) {
    const testing::SimRun run = Simulate("");
    EXPECT_EQ(run.status, kScriptDone);
    EXPECT_TRUE(run.raw.empty());
}

TEST(Script, TimeMovesOnlyForwardAndKeepsFractions) {
    const testing::SimRun run = Simulate(
        "at 1500\nstate\nwait 250\nstate\nat 100\nstate\n"
        "wait 0.25\nstate\n");
    ASSERT_EQ(run.status, kScriptDone);
    const auto states = run.with("StageNo");
    ASSERT_EQ(states.size(), 4u);
    EXPECT_EQ(states[0]["t"].numberText, "1500");
    EXPECT_EQ(states[1]["t"].numberText, "1750");
    EXPECT_EQ(states[2]["t"].numberText, "1750");
    EXPECT_EQ(states[3]["t"].numberText, "1750.25");
}

TEST(Script, TimersTickOnlyOnceTheirTimeIsReached) {
    // Start-up arms Timer2 for 2000 ms and nothing else.
    const testing::SimRun run = Simulate("trace on\nat 1999\nstate\nat 2000\n");
    ASSERT_EQ(run.status, kScriptDone);
    const auto events = run.with("event");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0]["event"].text, "Timer2");
    EXPECT_EQ(events[0]["t"].numberText, "2000");
}

TEST(Script, ARejectedValueLeavesTheRecordAsItWas) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    const testing::SimRun run = SimulateOn(sim, "set BallsLeft 5\nset BallsLeft 99999\n");
    EXPECT_EQ(run.status, kScriptBadLine);
    EXPECT_EQ(sim.state().BallsLeft, 5);
}

TEST(Script, TheEndOfTheApplicationEndsTheRun) {
    // Once the ending is over (EndPhase 10) a mouse press closes the game.
    const testing::SimRun run = Simulate("at 500\nset EndPhase 10\nmouse 1\nbogus\nstate\n");
    EXPECT_EQ(run.status, kScriptDone);
    EXPECT_EQ(run.err, "");
    ASSERT_FALSE(run.lines.empty());
    const testing::Json& last = run.lines.back();
    EXPECT_EQ(last.keys(), (std::vector<std::string>{"t", "event"}));
    EXPECT_EQ(last["event"].text, "end");
    EXPECT_EQ(last["t"].numberText, "500");
    EXPECT_TRUE(run.with("StageNo").empty()) << "nothing after the end runs";
}

}  // namespace
}  // namespace hopla

namespace hopla {
namespace {

TEST(Script, AGameStoppedByAValueOutOfRangeIsReportedNotACrash) {
    // The introduction indexes BandOrder with Tick and counts on from it; a Tick set at the
    // table's end counts past it, and that stops the game.
    const testing::SimRun run = testing::Simulate("stage 3\nset Tick 100\nwait 10\nstate\n");
    EXPECT_EQ(run.status, kScriptFailed);
    EXPECT_NE(run.err.find("line 3: the game stopped"), std::string::npos) << run.err;
    EXPECT_TRUE(run.with("StageNo").empty());
}

}  // namespace
}  // namespace hopla
