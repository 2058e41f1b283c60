// The command line: what each option sets, and one clear line for every wrong one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Options.h"

namespace hopla {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
    return ParseOptions(args);
}

// What each option sets: the switches, and the settings as they hold for the run over a file
// that says scale 3, the whole screen and volume 50. None of them is remembered.
TEST(Options, WhatEachOptionSets) {
    Settings file;
    file.scale = 3;
    file.fullscreen = true;
    file.volume = 50;
    const auto with = [&](auto change) {
        Settings s = file;
        change(s);
        return s;
    };
    const struct {
        std::vector<std::string_view> args;
        Settings forRun;
        bool help = false, version = false, mute = false, records = false;
    } cases[] = {
        {{}, file},
        {{"--help"}, file, true},
        {{"--version"}, file, false, true},
        {{"--records"}, file, false, false, false, true},
        {{"--scale", "1"}, with([](Settings& s) { s.scale = 1; })},
        {{"--scale=auto"}, with([](Settings& s) { s.scale.reset(); })},
        {{"--scale", "2", "--scale", "5"}, with([](Settings& s) { s.scale = 5; })},
        {{"--window"}, with([](Settings& s) { s.fullscreen = false; })},
        {{"--window", "--fullscreen"}, file},
        {{"--mute", "--scale", "4", "--window"},
         with([](Settings& s) {
             s.scale = 4;
             s.fullscreen = false;
         }),
         false,
         false,
         true},
        {{"--scaling", "integer", "--volume=0"}, with([](Settings& s) {
             s.scaling = ScalingMode::Integer;
             s.volume = 0;
         })},
        {{"--scaling=FIT", "--volume", "100", "--volume", "40"},
         with([](Settings& s) { s.volume = 40; })},
        {{"--speed", "75", "--race", "--ghost", "--splits-out", "-"}, with([](Settings& s) {
             s.speed = 75;
             s.race = true;
             s.ghost = true;
         })},
        {{"--race", "--no-race", "--ghost", "--no-ghost", "--speed=100"}, file},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed = Parse(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        const Options& o = *parsed.options;
        EXPECT_EQ(o.help, c.help);
        EXPECT_EQ(o.version, c.version);
        EXPECT_EQ(o.mute, c.mute);
        EXPECT_EQ(o.records, c.records);
        EXPECT_EQ(WithCommandLine(file, o, true), c.forRun) << c.args.size();
        EXPECT_EQ(WithCommandLine(file, o, false), file) << c.args.size();
    }
}

TEST(Options, EveryBadOptionOrValueSaysWhatInOneLine) {
    const struct {
        std::vector<std::string_view> args;
        std::string_view error;
    } cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--Scale", "2"}, "unknown option --Scale"},
        {{"game.ini"}, "unexpected argument 'game.ini'"},
        {{"--scale"}, "--scale needs a value (N)"},
        {{"--scale", "0"}, "--scale takes auto or a whole number from 1 to 8, not '0'"},
        {{"--scale", "-1"}, "--scale takes auto or a whole number from 1 to 8, not '-1'"},
        {{"--scale", "2.5"}, "--scale takes auto or a whole number from 1 to 8, not '2.5'"},
        {{"--scale="}, "--scale takes auto or a whole number from 1 to 8, not ''"},
        {{"--scale", "99999999999999999999"},
         "--scale takes auto or a whole number from 1 to 8, not '99999999999999999999'"},
        {{"--mute=yes"}, "--mute takes no value"},
        {{"--scaling", "stretch"}, "--scaling takes integer or fit, not 'stretch'"},
        {{"--scaling"}, "--scaling needs a value (MODE)"},
        {{"--volume", "101"}, "--volume takes a whole number from 0 to 100, not '101'"},
        {{"--volume", "-5"}, "--volume takes a whole number from 0 to 100, not '-5'"},
        {{"--scale", "2", "--bogus"}, "unknown option --bogus"},
        // What would be ignored without a word is refused.
        {{"--edit", "a.stages", "--export-stages", "b.stages"},
         "--export-stages goes alone (no --edit, --play, --record, --stages or --records)"},
        {{"--records", "--play", "a.demo"},
         "--records goes alone (no --edit, --play or --record; --stages names whose)"},
        {{"--edit", "a.stages", "--stages", "b"},
         "--edit goes alone (no --play, --record or --stages)"},
        {{"--force"}, "--force goes with --export-stages or --splits only"},
        {{"--splits", "a.lss"}, "--splits goes with --records"},
        {{"--speed", "60"}, "--speed takes 100, 90, 75 or 50, not '60'"},
        {{"--records", "--splits-out", "-"},
         "--splits-out goes with a game (not --records, --export-stages or --edit)"},
        {{"--records", "--splits="}, "--splits needs a file name"},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed = Parse(c.args);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

TEST(Options, TheUsageListsEveryOptionWithin80Columns) {
    const std::string usage = Usage();
    for (const char* name : {"--help", "--version", "--scale N", "--fullscreen", "--window",
                             "--mute", "--scaling MODE", "--volume N", "--export-stages FILE"})
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    for (std::size_t begin = 0, end; (end = usage.find('\n', begin)) != std::string::npos;
         begin = end + 1)
        EXPECT_LE(end - begin, 80u) << usage.substr(begin, end - begin);
    EXPECT_NE(usage.find("(default fit)"), std::string::npos);
}

// The real executable: a bad command line ends with status 2 before any window is tried (there
// is no display here, which would otherwise end it with status 1).
struct Result {
    int status = -1;
    std::string out;
};

Result RunHopla(const std::string& args) {
    // Never waiting for ever, whatever the game does.
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 " +
                                std::string(HOPLA_BUILD_DIR) + "/hopla " + args;
    Result result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(Options, TheGameAnswersItsCommandLine) {
    const Result version = RunHopla("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("hopla ") + HOPLA_VERSION + "\n");
    const Result help = RunHopla("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, Usage());
    for (const char* bad : {"--scale 0", "--scale", "--nope", "extra", "--mute=1"}) {
        const Result r = RunHopla(std::string(bad) + " 2>&1");
        EXPECT_EQ(r.status, 2) << bad;
        // One line saying what, then the usage.
        const std::size_t firstLine = r.out.find('\n');
        ASSERT_NE(firstLine, std::string::npos) << bad;
        EXPECT_TRUE(r.out.starts_with("hopla: ")) << r.out;
        EXPECT_EQ(r.out.substr(firstLine + 1), Usage()) << bad;
    }
    // Without a display a good command line gets as far as the window, and says so.
    const Result noDisplay = RunHopla("--scale 2 --mute 2>&1");
    EXPECT_EQ(noDisplay.status, 1);
    // ... naming what it looked for and each video driver's own reason.
    EXPECT_NE(noDisplay.out.find("no display to open the window on (DISPLAY unset"),
              std::string::npos)
        << noDisplay.out;
    EXPECT_NE(noDisplay.out.find("x11 not available"), std::string::npos) << noDisplay.out;
}

TEST(Options, WhatCannotBeWrittenFailsBeforeAnyWindowAndLeavesNothing) {
    const std::string dir =
        std::filesystem::temp_directory_path() / ("hopla-options-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    const struct {
        std::string args;
        int status;
        std::string says;
    } cases[] = {
        {"--help 2>&1 >/dev/full", 1, "hopla: cannot write the output: No space left on device\n"},
        {"--version 2>&1 >&-", 1, "hopla: cannot write the output: Bad file descriptor\n"},
        // A pipe is refused, not waited on for ever.
        {"--record " + dir + "/fifo 2>&1", 2,
         "hopla: cannot write the demo " + dir + "/fifo: not a regular file\n"},
        {"--record " + dir + "/none/a.demo 2>&1", 2,
         "hopla: cannot write the demo " + dir + "/none/a.demo: No such file or directory\n"},
        // Stages are exported onto nothing but a regular file, and over one only with --force.
        {"--export-stages " + dir + "/fifo 2>&1", 1,
         "hopla: cannot write " + dir + "/fifo: not a regular file\n"},
        {"--export-stages /dev/null 2>&1", 1,
         "hopla: cannot write /dev/null: not a regular file\n"},
        {"--export-stages " + dir + "/none/x.stages 2>&1", 1,
         "hopla: cannot write " + dir + "/none/x.stages: No such file or directory\n"},
        {"--export-stages " + dir + "/x.stages 2>&1", 0, ""},
        {"--export-stages " + dir + "/x.stages 2>&1", 1,
         "hopla: cannot write " + dir + "/x.stages: already exists (--force replaces it)\n"},
        {"--export-stages " + dir + "/x.stages --force 2>&1", 0, ""},
        // The window cannot open: no empty demo stays behind.
        {"--record " + dir + "/a.demo >/dev/null 2>&1; test -e " + dir + "/a.demo", 1, ""},
    };
    for (const auto& c : cases) {
        const Result r = RunHopla("--mute " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.says) << c.args;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hopla
