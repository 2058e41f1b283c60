// hopla-solve: finds key presses that clear stages on the real game code and writes them as
// demos: one stage, every stage (in parallel processes), or a whole game with its score.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "demo/DemoFile.h"
#include "demo/Recorder.h"
#include "headless/DemoPlayback.h"
#include "headless/SimCore.h"
#include "toolkit/Environment.h"
#include "tools/solve/Judge.h"
#include "tools/solve/StageSearch.h"

namespace hopla {
namespace {

constexpr std::string_view kUsage =
    "usage: hopla-solve --stage N [--out DEMO] [--seed S] [--beam B]\n"
    "       hopla-solve --all [--out-dir DIR] [--jobs J] [--seed S] [--beam B]\n"
    "       hopla-solve --game [--out DEMO] [--seed S] [--beam B] [--linger T]\n"
    "       hopla-solve --stages FILE [--stage N] [--out-dir DIR] [--seed S] [--beam B]\n"
    "       hopla-solve --help | --version\n"
    "Searches key presses on the real game that take the ball through a stage's exit without\n"
    "losing it, and writes what it found as a demo (hopla-sim --play checks it, hopla --play\n"
    "shows it). --stage solves one stage (0..20) from its start; --all solves every stage, J at a\n"
    "time in processes of their own, and prints each one's figures; --game plays a whole game\n"
    "from start-up through the title room and every stage to the final screen and its closing\n"
    "click, and prints the score and its code (lower is better). --linger plays a slow player's\n"
    "game: in each stage the ball is first left alone for T ticks where it can bounce in place.\n"
    "--stages judges a stage file: each stage it replaces (or only --stage N) is searched, its\n"
    "ticks or 'not cleared within its search' printed, a par demo NAME-stage-NN.demo of each\n"
    "stage cleared written into --out-dir.\n"
    "Exit status: 0 solved, 1 a stage could not be cleared (what blocks it is printed), 2 a bad\n"
    "option or an unwritable demo.\n";

constexpr int kFinalScreenPauseMs = 3000;  // the closing click comes this long after the score
constexpr int kTries = 3;                  // searches per stage, the beam doubling each time

struct Options {
    std::optional<int> stage;
    bool all = false;
    bool game = false;
    std::string out;
    std::string outDir = ".";
    int jobs = 2;
    std::uint32_t seed = 1;
    int beam = SearchOptions{}.beam;
    int linger = 0;
    std::optional<std::string> stages;  // --stages FILE: judge the file's stages
};

std::optional<long long> WholeNumber(const char* text, long long min, long long max) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno || end == text || *end || v < min || v > max) return std::nullopt;
    return v;
}

// The options that take a whole number, with its range.
struct NumberOption {
    std::string_view name;
    long long min, max;
    void (*set)(Options&, long long);
};

constexpr NumberOption kNumberOptions[] = {
    {"--stage", 0, 20, [](Options& o, long long v) { o.stage = static_cast<int>(v); }},
    {"--jobs", 1, 64, [](Options& o, long long v) { o.jobs = static_cast<int>(v); }},
    {"--seed", 0, 4294967295LL,
     [](Options& o, long long v) { o.seed = static_cast<std::uint32_t>(v); }},
    {"--beam", 1, 100000, [](Options& o, long long v) { o.beam = static_cast<int>(v); }},
    {"--linger", 0, 1000000, [](Options& o, long long v) { o.linger = static_cast<int>(v); }},
};

std::string StagePath(const std::string& dir, int stage) {
    char name[32];
    std::snprintf(name, sizeof name, "/stage-%02d.demo", stage);
    return dir + name;
}

// Whether a file can be written there (its directory, and the file if it is there already),
// asked before the search rather than after it.
bool Writable(const std::string& path) {
    const std::filesystem::path file(path);
    const std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error) || ::access(dir.c_str(), W_OK) != 0)
        return false;
    return !file.has_filename() || !std::filesystem::exists(file, error) ||
           ::access(file.c_str(), W_OK) == 0;
}

// None after saying what is wrong.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const auto number = std::find_if(std::begin(kNumberOptions), std::end(kNumberOptions),
                                         [&](const NumberOption& n) { return n.name == arg; });
        if (number != std::end(kNumberOptions)) {
            const std::optional<long long> v =
                value ? WholeNumber(value, number->min, number->max) : std::nullopt;
            if (!v) {
                std::cerr << "hopla-solve: " << arg << " takes a whole number " << number->min
                          << ".." << number->max << '\n';
                return std::nullopt;
            }
            number->set(o, *v);
            ++i;
        } else if (arg == "--all" || arg == "--game") {
            (arg == "--all" ? o.all : o.game) = true;
        } else if (arg == "--stages" && value) {
            o.stages = value;
            ++i;
        } else if ((arg == "--out" || arg == "--out-dir") && value) {
            (arg == "--out" ? o.out : o.outDir) = value;
            ++i;
        } else {
            std::cerr << "hopla-solve: unknown option or missing value: " << arg << '\n';
            return std::nullopt;
        }
    }
    if (o.stages && (o.all || o.game || !o.out.empty() || o.linger > 0)) {
        std::cerr << "hopla-solve: --stages goes with --stage N, --out-dir, --seed and --beam\n";
        return std::nullopt;
    }
    if (o.stages) {
        if (Writable(o.outDir + "/")) return o;
        std::cerr << "hopla-solve: cannot write " << o.outDir << "/\n";
        return std::nullopt;
    }
    if (o.stage.has_value() + o.all + o.game != 1) {
        std::cerr << "hopla-solve: one of --stage N, --all or --game\n";
        return std::nullopt;
    }
    if (o.linger > 0 && !o.game) {
        std::cerr << "hopla-solve: --linger goes with --game\n";
        return std::nullopt;
    }
    if (o.out.empty()) o.out = o.game ? "game.demo" : StagePath(".", o.stage.value_or(0));
    if (!Writable(o.all ? o.outDir + "/" : o.out)) {
        std::cerr << "hopla-solve: cannot write " << (o.all ? o.outDir + "/" : o.out) << '\n';
        return std::nullopt;
    }
    return o;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs timers (no input) until the ball is in play, the game ends or nothing runs.
bool RunUntilPlay(SimCore& sim) {
    Game& game = sim.game();
    while (!game.ended() && !sim.form().Timer1.running())
        if (!sim.runNextTimer()) return false;
    return !game.ended();
}

// Releases the key still held from the last stage and runs `ticks` ticks of play with no
// input: the ball left alone where the stage started it. The key-up joins `inputs`. When that
// would lose the ball or end play in the stage, restores the game and says false.
bool Linger(SimCore& sim, int ticks, std::vector<DemoInput>& inputs) {
    const SimCore::Snapshot before = sim.save();
    const GameState& s = sim.state();
    const int stage = s.StageNo, balls = s.BallsLeft;
    Game& game = sim.game();
    std::optional<DemoInput> release;
    if (s.HeldKey != 0) {
        release = DemoInput{game.handlersRun(), 0, InputKind::KeyUp, s.HeldKey};
        Deliver(game, release->kind, release->code);
    }
    bool inPlay = true;
    for (int t = 0; t < ticks && inPlay; ++t) {
        inPlay = sim.runNextTimer() && !game.ended() && s.StageNo == stage &&
                 s.BallsLeft == balls && sim.form().Timer1.running();
    }
    if (inPlay) {
        if (release) inputs.push_back(*release);
        return true;
    }
    sim.restore(before);
    return false;
}

// Searches the stage the game is at, the beam doubling after a failed try.
StageResult Solve(SimCore& sim, int beam) {
    StageResult result;
    SearchOptions options;
    for (int t = 0; t < kTries && !result.solved; ++t, beam *= 2) {
        options.beam = beam;
        const std::uint64_t before = result.tried;
        result = SolveStage(sim, options);
        result.tried += before;
    }
    return result;
}

// Replays the inputs into a fresh game through a recorder and returns the demo: from start-up
// (or the jump to `startStage`) until the stage changes (a stage demo) or the game ends.
std::string RecordDemo(std::uint32_t seed, std::optional<int> startStage,
                       const std::vector<DemoInput>& inputs, bool wholeGame) {
    SimCore sim(seed, ExecutableDir());
    if (startStage) sim.startStage(*startStage);
    std::ostringstream out;
    Recorder recorder(sim.game(), sim.clock(), seed, startStage, out);
    Game& game = sim.game();
    const int stage = game.stage();
    std::size_t i = 0;
    for (;;) {
        for (; i < inputs.size() && inputs[i].point == game.handlersRun() && !game.ended(); ++i) {
            sim.clock().advanceTo(milliseconds(inputs[i].ms));
            recorder.deliver(inputs[i].kind, inputs[i].code);
        }
        if (game.ended() || (!wholeGame && game.stage() != stage) || !sim.runNextTimer()) break;
    }
    recorder.finish();
    return out.str();
}

// Writes the demo and plays it back as a check of its own; false after saying why not.
bool WriteDemo(const std::string& path, const std::string& text) {
    try {
        const Demo demo = ParseDemo(text, path);
        SimCore sim(demo.seed, ExecutableDir());
        const PlaybackResult played = PlayDemo(sim, demo);
        if (!played.finished) {
            std::cerr << "hopla-solve: " << path << " does not play back: "
                      << (played.mismatch ? played.mismatch->message() : "it stops early") << '\n';
            return false;
        }
    } catch (const DemoError& e) {
        std::cerr << "hopla-solve: the demo written is not valid: " << e.what() << '\n';
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "hopla-solve: cannot write " << path << '\n';
        return false;
    }
    return true;
}

std::string StageLine(const StageResult& r, double seconds) {
    char line[200];
    if (r.solved) {
        std::snprintf(line, sizeof line, "stage %2d: %4d ticks (%3d points)  %6.2f s  %8llu steps",
                      r.stage, r.ticks, r.ticks / 10, seconds,
                      static_cast<unsigned long long>(r.tried));
    } else {
        std::snprintf(line, sizeof line, "stage %2d: NOT CLEARED  %6.2f s  %8llu steps: %s",
                      r.stage, seconds, static_cast<unsigned long long>(r.tried),
                      r.blocked.c_str());
    }
    return line;
}

// One stage from its start: the search, the demo, one line of figures. Exit status.
int SolveOneStage(int stage, const Options& o, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    SimCore sim(o.seed, ExecutableDir());
    sim.startStage(stage);
    if (!RunUntilPlay(sim)) {
        std::cout << "stage " << stage << ": the stage never started\n";
        return 1;
    }
    const StageResult r = Solve(sim, o.beam);
    const double seconds = SecondsSince(start);
    std::cout << StageLine(r, seconds) << '\n' << std::flush;
    if (!r.solved) return 1;
    return WriteDemo(path, RecordDemo(o.seed, stage, r.inputs, false)) ? 0 : 2;
}

// Every stage, `jobs` processes at a time; each prints its own line. Exit status: the worst.
int SolveAllStages(const Options& o) {
    const auto start = std::chrono::steady_clock::now();
    int status = 0, running = 0;
    auto reap = [&] {
        int st = 0;
        if (::wait(&st) > 0) {
            --running;
            const int code = WIFEXITED(st) ? WEXITSTATUS(st) : 2;
            status = std::max(status, code);
        }
    };
    for (int stage = 0; stage <= 20; ++stage) {
        if (running == o.jobs) reap();
        std::cout.flush();
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int code = SolveOneStage(stage, o, StagePath(o.outDir, stage));
            std::cout.flush();
            std::_Exit(code);
        }
        if (pid < 0) {
            std::cerr << "hopla-solve: cannot start a process: " << std::strerror(errno) << '\n';
            return 2;
        }
        ++running;
    }
    while (running > 0) reap();
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    const double processor =
        static_cast<double>(children.ru_utime.tv_sec + children.ru_stime.tv_sec) +
        1e-6 * static_cast<double>(children.ru_utime.tv_usec + children.ru_stime.tv_usec);
    std::printf("all stages: %.2f s wall, %.2f s processor, %d processes at a time\n",
                SecondsSince(start), processor, o.jobs);
    return status;
}

// A whole game: the title, the title room, stages 0..20 each searched from where the game
// is, the ending up to its final screen and the closing click.
int SolveGame(const Options& o) {
    const auto start = std::chrono::steady_clock::now();
    SimCore sim(o.seed, ExecutableDir());
    std::vector<DemoInput> inputs;
    int status = 0;
    while (!sim.game().ended() && sim.form().Etimer.interval() == 0) {
        const int stage = sim.game().stage();
        if (!RunUntilPlay(sim)) break;
        if (o.linger > 0 && stage != kTitleStage && !Linger(sim, o.linger, inputs))
            std::printf("stage %2d: the ball cannot be left alone here; no lingering\n", stage);
        const auto stageStart = std::chrono::steady_clock::now();
        StageResult r = Solve(sim, o.beam);
        const double seconds = SecondsSince(stageStart);
        if (stage == kTitleStage) {
            std::printf("title room: %s\n",
                        r.solved ? "left through the start" : r.blocked.c_str());
        } else {
            std::cout << StageLine(r, seconds) << '\n' << std::flush;
        }
        if (!r.solved) {
            status = 1;
            break;
        }
        inputs.insert(inputs.end(), r.inputs.begin(), r.inputs.end());
        PlayInputs(sim, r.inputs);
    }
    if (status == 0) {
        // The ending runs by itself up to the final screen; then the closing click.
        while (sim.runNextTimer()) {
        }
        const auto clickMs = static_cast<std::int64_t>(sim.nowMs()) + kFinalScreenPauseMs;
        inputs.push_back({sim.game().handlersRun(), clickMs, InputKind::Mouse, 1});
        const GameState& s = sim.state();
        int lost = 9 - s.BallsLeft;
        std::printf("game: score %d, code %s, %d balls lost, %.2f s\n", s.Score,
                    s.ScoreCode.c_str(), lost, SecondsSince(start));
    }
    if (status != 0) return status;
    return WriteDemo(o.out, RecordDemo(o.seed, std::nullopt, inputs, true)) ? 0 : 2;
}

}  // namespace
}  // namespace hopla

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << hopla::kUsage;
            return 0;
        }
        if (std::string_view(argv[i]) == "--version") {
            std::cout << "hopla-solve " HOPLA_VERSION "\n";
            return 0;
        }
    }
    const std::optional<hopla::Options> options = hopla::ParseOptions(argc, argv);
    if (!options) {
        std::cerr << hopla::kUsage;
        return 2;
    }
    if (options->stages) {
        try {
            const hopla::ChosenStages stages =
                hopla::LoadStages(*options->stages, hopla::ExecutableDir());
            return hopla::JudgeStageFile(stages, options->stage, options->outDir,
                                         {options->seed, options->beam}, std::cout, std::cerr);
        } catch (const hopla::StageFileError& e) {
            std::cerr << "hopla-solve: " << e.what() << '\n';
            return 2;
        }
    }
    if (options->all) return hopla::SolveAllStages(*options);
    if (options->game) return hopla::SolveGame(*options);
    return hopla::SolveOneStage(*options->stage, *options, options->out);
}
