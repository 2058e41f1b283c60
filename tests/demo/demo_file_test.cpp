// Reading demo files: a demo written is read back as it was, and every kind of bad file gives
// one message naming the file and the line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "demo/DemoFile.h"
#include "shell/GameFiles.h"

namespace hopla {
namespace {

const std::string kCheck =
    "check stage=21 balls=1 score=0 timers=0,2000,0,0,0,0,0 record=0123456789abcdef "
    "labels=0000000000000000 display=ffffffffffffffff back=0000000000000001 "
    "dark=0000000000000002 chip=0000000000000003 endchip=0000000000000004";
const std::string kHeader = "hopla-demo 1\nseed 7\nstart title\n";
const std::string kHeader2 = "hopla-demo 2\nseed 7\nstart title\n";
const std::string kStart = "0 0 " + kCheck + "\n";
const std::string kEnd = "3 40 " + kCheck + "\n3 40 end\n";

std::string WithRecords(const std::string& records) {
    return kHeader + kStart + records + kEnd;
}

// The check line with one piece of it changed.
std::string CheckWith(const std::string& from, const std::string& to) {
    std::string line = kCheck;
    return line.replace(line.find(from), from.size(), to);
}

TEST(DemoFile, WrittenDemosReadBackAsTheyWere) {
    Demo demo;
    demo.seed = 4294967295u;
    demo.startStage = 20;
    StateCheck c;
    c.stage = 20;
    c.balls = -32768;
    c.score = -2147483647 - 1;
    c.timers = {30, 0, 0, 0, 0, 65535, 2147483647};
    c.record = 0xFFFFFFFFFFFFFFFFull;
    c.endChip = 1;
    demo.checks = {{0, 0, c}, {9, 900, c}};
    demo.inputs = {{0, 0, InputKind::KeyDown, 255},
                   {5, 500, InputKind::KeyUp, 0},
                   {6, 500, InputKind::Mouse, 4},
                   {9, 900, InputKind::Close, 0}};
    demo.endPoint = 9;
    demo.endMs = 900;
    const std::string text = FormatDemo(demo);
    EXPECT_EQ(ParseDemo(text, "a.demo"), demo) << text;
    // On a stage file: its name (spaces and all) and its table's hash in the header.
    demo.stages = DemoStages{"first steps", 0x00c0ffee12345678ull};
    const std::string onStages = FormatDemo(demo);
    EXPECT_NE(onStages.find("\nstages 00c0ffee12345678 first steps\n"), std::string::npos);
    EXPECT_EQ(ParseDemo(onStages, "a.demo"), demo) << onStages;
    // Saying who made it: version 2, its made line fourth. Without it, version 1 as ever.
    EXPECT_TRUE(onStages.starts_with("hopla-demo 1\n"));
    demo.origin = DemoOrigin{"hopla-solve", "1.2.0+rc1", "web", DemoMaker::Solver};
    const std::string made = FormatDemo(demo);
    EXPECT_TRUE(
        made.starts_with("hopla-demo 2\nseed 4294967295\nstart stage 20\n"
                         "made hopla-solve 1.2.0+rc1 web solver\nstages "))
        << made;
    EXPECT_EQ(ParseDemo(made, "a.demo"), demo) << made;
}

TEST(DemoFile, CommentsBlankLinesAndWindowsLineEndsAreRead) {
    const std::string text = kHeader + "# the title, untouched ✓\n\n" + kStart +
                             "1 10 key-down 39\r\n" + kEnd + "# after the end\n";
    const Demo demo = ParseDemo(text, "a.demo");
    ASSERT_EQ(demo.inputs.size(), 1u);
    EXPECT_EQ(demo.inputs[0].code, 39);
    EXPECT_EQ(demo.endPoint, 3u);
}

TEST(DemoFile, BadFilesNameTheFileAndLine) {
    const struct {
        const char* what;
        std::string text;
        std::string message;  // what follows "bad.demo:"
    } cases[] = {
        {"empty", "", "1: the file is empty"},
        {"binary",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0",
                     9),
         "1: not text: byte 0x7f"},
        {"another format", "P6 800 600\n", "1: not a hopla demo"},
        {"newer version", "hopla-demo 3\n", "1: demo format version 3 is newer"},
        {"version not a number", "hopla-demo one\n", "1: version 'one' is not"},
        {"no seed", "hopla-demo 1\nstart title\n", "2: the second line must be 'seed N'"},
        {"seed too large", "hopla-demo 1\nseed 4294967296\n", "2: seed '4294967296'"},
        {"negative seed", "hopla-demo 1\nseed -1\n", "2: seed '-1'"},
        {"no start", "hopla-demo 1\nseed 1\n0 0 end\n", "3: the third line must be"},
        {"stage out of range", kHeader.substr(0, 20) + "start stage 22\n", "3: stage '22'"},
        {"cut inside the header", "hopla-demo 1\nseed 1\n", "3: the demo stops inside"},
        {"input before the start check", kHeader + "0 0 key-down 39\n", "4: the first record"},
        {"first check not at 0", kHeader + "5 0 " + kCheck + "\n", "4: the first check"},
        {"key code too large", WithRecords("1 0 key-down 256\n"), "5: key code '256'"},
        {"mouse button 3", WithRecords("1 0 mouse 3\n"), "5: no mouse button 3"},
        {"unknown record", WithRecords("1 0 jump 39\n"), "5: unknown record 'jump'"},
        {"missing key code", WithRecords("1 0 key-up\n"), "5: key-up takes one number"},
        {"absurd point", WithRecords("99999999999999999999 0 key-up 1\n"), "5: point '99999"},
        {"absurd time", WithRecords("1 99999999999999 key-up 1\n"), "5: time '99999999999999'"},
        {"points going back", WithRecords("2 0 key-up 1\n1 0 key-up 1\n"),
         "6: point 1 comes after"},
        {"time going back", WithRecords("1 9 key-up 1\n2 5 key-up 1\n"),
         "6: time 5 ms comes after"},
        {"two inputs at a point", WithRecords("1 0 key-up 1\n1 0 key-up 1\n"), "6: point 1 again"},
        {"input after a close", WithRecords("1 0 close\n2 0 key-up 1\n"),
         "6: only the final check"},
        {"check field missing", WithRecords("1 0 check stage=1\n"),
         "5: a check line has 11 fields"},
        {"check field renamed", WithRecords("1 0 " + CheckWith("stage=", "stack=") + "\n"),
         "5: check field 1 must be stage="},
        {"hash too short", WithRecords("1 0 " + CheckWith("abcdef ", "abcd ") + "\n"),
         "5: record '0123456789abcd'"},
        {"hash in capitals", WithRecords("1 0 " + CheckWith("abcdef ", "ABCDEF ") + "\n"),
         "5: record '0123456789ABCDEF'"},
        {"timers missing one", WithRecords("1 0 " + CheckWith("0,0,0 ", "0,0 ") + "\n"),
         "5: timers must be 7 intervals"},
        {"second check at a point", WithRecords("1 0 " + kCheck + "\n1 0 " + kCheck + "\n"),
         "6: a second check at point 1"},
        {"end without its check", kHeader + kStart + "3 40 end\n", "5: the end at point 3"},
        {"record after the end", WithRecords("") + "4 50 key-up 1\n", "7: nothing but comments"},
        {"cut short", kHeader + kStart + "1 0 key-down 39\n", "5: the demo stops without its end"},
        {"cut inside a line", kHeader + kStart + "1 0 key-do", "5: unknown record 'key-do'"},
        {"line far too long", kHeader + std::string(2000, '#') + "\n", "4: the line is longer"},
        {"zero byte in a line", WithRecords(std::string("1 0 key-up\0 1\n", 14)),
         "5: not text: byte 0x00"},
        {"non-ASCII record", WithRecords("1 0 key-up １\n"), "5: a record is plain ASCII"},
        {"stages without a name", kHeader + "stages 0123456789abcdef\n", "4: the stages line is"},
        {"stages hash too short", kHeader + "stages 01234 pack\n", "4: stages hash '01234'"},
        {"stages after a record", kHeader + kStart + "stages 0123456789abcdef pack\n",
         "5: the stages line comes right after"},
        {"version 2 without its made line", kHeader2 + kStart, "4: the fourth line of a version 2"},
        {"cut before the made line", kHeader2, "4: the demo stops inside its header"},
        {"made line of version 1", kHeader + "made hopla 1.0 linux person\n",
         "4: a made line belongs to a demo of version 2"},
        {"made line twice",
         kHeader2 + "made hopla 1.0 linux person\n" + "made hopla 1 web solver\n",
         "5: the made line comes once"},
        {"unknown maker", kHeader2 + "made hopla 1.0 linux robot\n", "4: maker 'robot'"},
        {"unknown target", kHeader2 + "made hopla 1.0 amiga person\n", "4: target 'amiga'"},
        {"odd program", kHeader2 + "made ../hopla 1.0 linux person\n", "4: program '../hopla'"},
        {"odd version", kHeader2 + "made hopla 1.0/2 linux person\n", "4: version '1.0/2'"},
        {"made line short", kHeader2 + "made hopla 1.0 linux\n", "4: the fourth line"},
        // What the file holds reaches the terminal escaped, broken UTF-8 and C1 controls too.
        {"terminal controls in a word", "hopla-demo 1\nseed 7\xff\xc2\x9b[2J\n",
         "2: seed '7\\xff\\xc2\\x9b[2J' is not"},
        {"old Mac line ends", "hopla-demo 1\rseed 7\rstart title\r",
         "1: lines end in a lone carriage return (old Mac line ends): convert them to \\n"},
    };
    for (const auto& c : cases) {
        try {
            ParseDemo(c.text, "bad.demo");
            ADD_FAILURE() << c.what << ": read without complaint";
        } catch (const DemoError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("bad.demo:" + c.message, 0), 0u) << c.what << ": " << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << c.what;
        }
    }
}

TEST(DemoFile, FilesThatCannotBeReadAreNamed) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::filesystem::path loop = dir / ("hopla-loop-" + std::to_string(::getpid()) + ".demo");
    std::filesystem::remove(loop);
#ifdef _WIN32
    // No symbolic links for every user there: a device stands in, which the platform's reader
    // refuses unread.
    const std::string odd = "NUL", oddMessage = ": cannot read the demo: not a regular file";
#else
    std::filesystem::create_symlink(loop.filename(), loop);  // a link to itself
    const std::string odd = loop.string(),
                      oddMessage = ": cannot read the demo: Too many levels of symbolic links";
#endif
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {(dir / "hopla-no-such.demo").string(), ": cannot read the demo: no such file"},
        {dir.string(), ": cannot read the demo: not a regular file"},
        {odd, oddMessage},
    };
    for (const auto& c : cases) {
        try {
            ReadDemoFile(c.path);
            ADD_FAILURE() << c.path;
        } catch (const DemoError& e) {
            EXPECT_EQ(std::string(e.what()), c.path + c.message);
        }
    }
    std::filesystem::remove(loop);
}

TEST(DemoFile, ARecordingCutShortIsKeptUpToItsLastCheck) {
    const std::string middle = "2 20 " + CheckWith("stage=21", "stage=0") + "\n";
    const std::string lines = kHeader + kStart + "1 10 key-down 39\n" + middle;
    const std::string keyUp = "3 30 key-up 39\n";
    const struct {
        const char* what;
        std::string text;
        std::string kept;     // the demo salvaged, or
        std::string refused;  // what follows "cut.demo:"
    } cases[] = {
        {"cut after an input", lines + keyUp, lines + "2 20 end\n", ""},
        {"cut inside an input", lines + keyUp.substr(0, 6), lines + "2 20 end\n", ""},
        {"cut inside the second check",
         kHeader + kStart + "1 10 key-down 39\n" + middle.substr(0, 60),
         kHeader + kStart + "0 0 end\n", ""},
        {"whole already", WithRecords("1 10 key-down 39\n"), WithRecords("1 10 key-down 39\n"), ""},
        {"whole, its end line without a newline",
         kHeader + kStart + "3 40 " + kCheck + "\n3 40 end",
         kHeader + kStart + "3 40 " + kCheck + "\n3 40 end", ""},
        {"whole, then a line cut", WithRecords("") + "4 50 key", "", "7: nothing but comments"},
        {"cut before the start's check", kHeader + "0 0 che", "", " nothing to keep"},
        {"cut inside the header", "hopla-demo 1\nseed 1\nsta", "", "3: the demo stops inside"},
        {"a bad line before the cut", lines + "3 30 jump 39\n" + keyUp, "", "7: unknown record"},
        {"old Mac line ends", "hopla-demo 1\nseed 1\rstart title\r", "", "2: lines end in a lone"},
    };
    for (const auto& c : cases) {
        try {
            const std::string kept = SalvageDemo(c.text, "cut.demo");
            EXPECT_EQ(kept, c.kept) << c.what;
            EXPECT_NO_THROW(ParseDemo(kept, "kept.demo")) << c.what;
        } catch (const DemoError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("cut.demo:" + c.refused, 0), 0u)
                << c.what << ": " << e.what();
            EXPECT_FALSE(c.refused.empty()) << c.what;
        }
    }
}

}  // namespace
}  // namespace hopla
