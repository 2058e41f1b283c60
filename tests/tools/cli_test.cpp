// The hopla-sim executable: options, script from a file or standard input, exit statuses; and
// hopla-solve's options, refused before any search.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace hopla {
namespace {

const std::string kSim = std::string(HOPLA_BUILD_DIR) + "/hopla-sim";
const std::string kSolve = std::string(HOPLA_BUILD_DIR) + "/hopla-solve";

struct Result {
    int status = -1;
    std::string out;
};

// Runs a shell command line and collects its standard output and exit status.
Result Shell(const std::string& command) {
    Result result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        result.out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kSim)) GTEST_SKIP() << "hopla-sim not built";
    }
};

TEST_F(Cli, TheSeedFixesTheShufflesAndTheScriptComesFromFileOrStdin) {
    const std::string script =
        (std::filesystem::temp_directory_path() / ("hopla-sim-cli-" + std::to_string(::getpid())))
            .string();
    std::ofstream(script) << "# start-up shuffles\nstate full\n";
    const Result fromFile = Shell(kSim + " --seed 12345 " + script);
    const Result fromStdin = Shell("printf 'state full\\n' | " + kSim + " --seed 12345");
    const Result otherSeed = Shell(kSim + " --seed 54321 " + script);
    std::filesystem::remove(script);
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromStdin.status, 0);
    EXPECT_NE(fromFile.out.find("\"BandOrder\":["), std::string::npos);
    EXPECT_EQ(fromFile.out, fromStdin.out);
    EXPECT_NE(fromFile.out, otherSeed.out);
    // The wave files are looked for beside the executable.
    EXPECT_NE(fromFile.out.find("\"SoundDir\":\"" + std::string(HOPLA_BUILD_DIR) + "/\""),
              std::string::npos);
}

TEST_F(Cli, ExitStatuses) {
    const std::string demo = std::string(HOPLA_ASSET_DIR) + "/../tests/demos/stage-15.demo";
    const std::string q = " 2>/dev/null </dev/null";
    // The same demo with its exit's balls changed (a mismatch), and cut short (not a demo).
    std::ostringstream text;
    text << std::ifstream(demo).rdbuf();
    std::string changed = text.str();
    changed.replace(changed.rfind(" balls=9 "), 9, " balls=8 ");
    const auto temp = std::filesystem::temp_directory_path();
    const std::string tampered = (temp / ("hopla-cli-" + std::to_string(getpid()) + "-a")).string();
    const std::string cut = (temp / ("hopla-cli-" + std::to_string(getpid()) + "-b")).string();
    std::ofstream(tampered) << changed;
    std::ofstream(cut) << text.str().substr(0, 300);
    const std::string loop = (temp / ("hopla-cli-" + std::to_string(getpid()) + "-loop")).string();
    std::filesystem::remove(loop);
    std::filesystem::create_symlink(loop, loop);
    const std::string game = std::string(HOPLA_ASSET_DIR) + "/../tests/demos/game.demo";
    const struct {
        std::string command;
        int status;
        std::string says = "";  // on the standard error, where the command sends it to the pipe
    } cases[] = {
        {"printf 'state\\n' | " + kSim, 0},
        {"printf 'state\\nnonsense\\n' | " + kSim + " 2>/dev/null", 2},
        {kSim + " --seed 2>/dev/null </dev/null", 2},
        {kSim + " --seed -1 2>/dev/null </dev/null", 2},
        {kSim + " --seed 4294967296 2>/dev/null </dev/null", 2},
        {kSim + " --frobnicate 2>/dev/null </dev/null", 2},
        {kSim + " /nonexistent/script 2>/dev/null", 1},
        {kSim + " --help", 0},
        {kSim + " --play " + demo + " >/dev/null", 0},
        {kSim + " --play " + demo + " --until 500 >/dev/null", 0},
        // A demo of a stage file finds it by its name and hash without --stages.
        {kSim + " --play " + HOPLA_ASSET_DIR + "/../tests/demos/first-steps-stage-00.demo" +
             " >/dev/null",
         0},
        {kSim + " --play " + tampered + " >/dev/null 2>&1", 1},
        {kSim + " --play /nonexistent.demo" + q, 2},
        {kSim + " --play " + cut + q, 2},
        // A recording cut by a crash, salvaged, plays back up to its last check.
        {"head -c 20000 " + game + " >" + cut + " && " + kSim + " --salvage " + cut + q + " >" +
             cut + ".kept && " + kSim + " --play " + cut + ".kept >/dev/null",
         0},
        {kSim + " --salvage " + cut + " --seed 1" + q, 2},
        {kSim + " --play" + q, 2},
        {kSim + " --play " + demo + " --seed 1" + q, 2},
        {kSim + " --until 500" + q, 2},
        {kSim + " --play " + demo + " --until -1" + q, 2},
        {"printf 'at 100\\nkey down 39\\n' | " + kSim + " --record /dev/null >/dev/null", 0},
        {"printf 'at 100\\nset BallsLeft 3\\n' | " + kSim + " --record /dev/null 2>/dev/null", 2},
        {"printf 'at 100\\nstage 3\\n' | " + kSim + " --record /dev/null 2>/dev/null", 2},
        {"printf 'state\\n' | " + kSim + " --record /nonexistent/a.demo 2>/dev/null", 1},
        // What cannot be read or written fails the run in one line, never an early success.
        {kSim + " /tmp 2>&1", 1, "hopla-sim: /tmp is a directory, not a script\n"},
        {kSim + " </tmp 2>&1", 1, "hopla-sim: line 1: cannot read the script\n"},
        {kSim + " /dev/zero 2>&1", 2, "hopla-sim: line 1: longer than 1048576 bytes\n"},
        {"printf 'state\\n' | " + kSim + " 2>&1 >/dev/full", 1,
         "hopla-sim: line 1: cannot write the output: No space left on device\n"},
        {"printf 'state\\n' | " + kSim + " 2>&1 >&-", 1,
         "hopla-sim: line 1: cannot write the output: Bad file descriptor\n"},
        // With the output closed, the demo opened later never takes its place.
        {"printf 'at 100\\nkey down 39\\nstate\\n' | " + kSim + " --record " + cut +
             ".new 2>&1 >&-; grep -c '^{' " + cut + ".new",
         1, "hopla-sim: line 3: cannot write the output: Bad file descriptor\n0\n"},
        {kSim + " --salvage " + demo + " 2>&1 >/dev/full", 1,
         "hopla-sim: cannot write the output: No space left on device\n"},
        {kSim + " --help 2>&1 >/dev/full", 1,
         "hopla-sim: cannot write the output: No space left on device\n"},
        {kSim + " --version 2>&1 >&-", 1,
         "hopla-sim: cannot write the output: Bad file descriptor\n"},
        {kSim + " --play " + demo + " 2>&1 >/dev/full", 1,
         "hopla-sim: cannot write the output: No space left on device\n"},
        {kSim + " --play " + demo + " 2>&1 >&-", 1,
         "hopla-sim: cannot write the output: Bad file descriptor\n"},
        {kSim + " --play " + loop + " 2>&1", 2,
         "hopla-sim: " + loop + ": cannot read the demo: Too many levels of symbolic links\n"},
        // A recording that fails before its first record leaves no empty file behind.
        {"printf 'set BallsLeft 3\\n' | " + kSim + " --record " + cut +
             ".new 2>/dev/null; test -e " + cut + ".new",
         1},
        // --play prints what a demo says of its making first; a demo of format 1 says nothing.
        {"printf 'at 100\\nkey down 39\\n' | " + kSim + " --record " + cut + ".new >/dev/null && " +
             kSim + " --play " + cut + ".new | head -1",
         0,
         std::string("{\"program\":\"hopla-sim\",\"version\":\"") + HOPLA_VERSION +
             "\",\"target\":\"linux\",\"made\":\"script\"}\n"},
        {kSim + " --play " + demo + " | head -1 | cut -c1-5", 0, "{\"t\":\n"},
        {kSolve + " --version 2>&1 >/dev/full", 1,
         "hopla-solve: cannot write the output: No space left on device\n"},
        // Every demo hopla-solve would write is checked before the search (which prints first).
        {kSolve + " --stage 3 --out /tmp 2>&1 >/dev/null | head -1", 0,
         "hopla-solve: cannot write /tmp: not a regular file\n"},
        {"mkdir -p " + cut + ".dir/stage-20.demo && " + kSolve + " --all --out-dir " + cut +
             ".dir 2>&1 >/dev/null | head -1",
         0, "hopla-solve: cannot write " + cut + ".dir/stage-20.demo: not a regular file\n"},
        {kSolve + " 2>&1 </dev/null | head -1", 0,
         "hopla-solve: one of --stage N, --all, --game or --stages FILE\n"},
        // --out-dir is made when its parent is there (before the stage file is read).
        {kSolve + " --stages /nonexistent.stages --out-dir " + cut + ".made" + q + "; test -d " +
             cut + ".made",
         0},
        {kSolve + " --stages first-steps --out-dir /nonexistent/dir 2>&1 | head -1", 0,
         "hopla-solve: --out-dir: cannot create /nonexistent/dir: No such file or directory\n"},
        {kSolve + " --stage 21" + q, 2},
        {kSolve + " --stage 3 --game" + q, 2},
        {kSolve + " --stage 3 --linger 5" + q, 2},
        {kSolve + " --prove --all 2>&1 | head -1", 0, "hopla-solve: --prove goes with --stage N\n"},
        {kSolve + " --stage 3 --time 5 2>&1 | head -1", 0,
         "hopla-solve: --time and --memory go with --prove\n"},
        {kSolve + " --prove --stage 3 --memory 8" + q, 2},
        {kSolve + " --game --out /nonexistent/game.demo" + q, 2},
        {kSolve + " --help >/dev/null", 0},
    };
    for (const auto& c : cases) {
        const Result result = Shell(c.command);
        EXPECT_EQ(result.status, c.status) << c.command;
        if (!c.says.empty()) {
            EXPECT_EQ(result.out, c.says) << c.command;
        }
    }
    std::filesystem::remove(tampered);
    std::filesystem::remove(cut);
    std::filesystem::remove(cut + ".kept");
    std::filesystem::remove_all(cut + ".dir");
    std::filesystem::remove_all(cut + ".made");
    std::filesystem::remove(loop);
    std::filesystem::remove(cut + ".new");
}

}  // namespace
}  // namespace hopla
