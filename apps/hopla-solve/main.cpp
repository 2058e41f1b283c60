// hopla-solve: finds key presses that clear stages on the real game code and writes them as
// demos: one stage, every stage (in parallel processes), or a whole game with its score. This
// file is its command line.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include <sys/resource.h>

#include "form/GameState.h"
#include "platform/Platform.h"
#include "solve/Judge.h"
#include "solve/ProcessPool.h"
#include "solve/Strategy.h"
#include "toolkit/Escape.h"
#include "toolkit/Numbers.h"
#include "toolkit/Output.h"

namespace hopla {
namespace {

constexpr std::string_view kUsage =
    "usage: hopla-solve --stage N [--out DEMO] [--seed S] [--beam B]\n"
    "       hopla-solve --prove --stage N [--time S] [--memory MB] [--out DEMO] [--seed S]\n"
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
    "--prove searches stage N with the beam, then tick by tick for a quicker route or the proof\n"
    "that the solver's moves have none, each round cut by the stage's tick bound (no play is\n"
    "quicker); it stops after --time seconds (60) or when the states it remembers would take\n"
    "--memory MB (512), prints the best ticks, the bound and the gap, and writes the best demo.\n"
    "Exit status: 0 solved, 1 a stage could not be cleared (what blocks it is printed), 2 a bad\n"
    "option or an unwritable demo.\n";

constexpr int kLastStage = kTitleStage - 1;  // the stages are 0..20

struct Options {
    std::optional<int> stage;
    bool all = false;
    bool game = false;
    bool prove = false;
    ProveLimits limits;
    bool limitsGiven = false;  // --time or --memory
    std::string out;
    std::string outDir = ".";
    int jobs = 2;
    SolveSettings settings;
    std::optional<std::string> stages;  // --stages FILE: judge the file's stages
};

// What an option takes after its name.
enum class Takes { kNothing, kWholeNumber, kText };

struct OptionRow {
    std::string_view name;
    Takes takes;
    long long min, max;  // a whole number's range
    // Sets the option from its text, read as a whole number in range when it takes one.
    void (*set)(Options&, std::string_view text, long long number);
};

constexpr OptionRow kOptions[] = {
    {"--stage", Takes::kWholeNumber, 0, kLastStage,
     [](Options& o, std::string_view, long long v) { o.stage = static_cast<int>(v); }},
    {"--all", Takes::kNothing, 0, 0, [](Options& o, std::string_view, long long) { o.all = true; }},
    {"--game", Takes::kNothing, 0, 0,
     [](Options& o, std::string_view, long long) { o.game = true; }},
    {"--prove", Takes::kNothing, 0, 0,
     [](Options& o, std::string_view, long long) { o.prove = true; }},
    {"--time", Takes::kWholeNumber, 1, 86400,
     [](Options& o, std::string_view, long long v) {
         o.limits.seconds = static_cast<double>(v);
         o.limitsGiven = true;
     }},
    {"--memory", Takes::kWholeNumber, 16, 65536,
     [](Options& o, std::string_view, long long v) {
         o.limits.memoryMb = static_cast<std::size_t>(v);
         o.limitsGiven = true;
     }},
    {"--out", Takes::kText, 0, 0,
     [](Options& o, std::string_view text, long long) { o.out = text; }},
    {"--out-dir", Takes::kText, 0, 0,
     [](Options& o, std::string_view text, long long) { o.outDir = text; }},
    {"--jobs", Takes::kWholeNumber, 1, 64,
     [](Options& o, std::string_view, long long v) { o.jobs = static_cast<int>(v); }},
    {"--seed", Takes::kWholeNumber, 0, 4294967295LL,
     [](Options& o, std::string_view, long long v) {
         o.settings.seed = static_cast<std::uint32_t>(v);
     }},
    {"--beam", Takes::kWholeNumber, 1, 100000,
     [](Options& o, std::string_view, long long v) { o.settings.beam = static_cast<int>(v); }},
    {"--linger", Takes::kWholeNumber, 0, 1000000,
     [](Options& o, std::string_view, long long v) { o.settings.linger = static_cast<int>(v); }},
    {"--stages", Takes::kText, 0, 0,
     [](Options& o, std::string_view text, long long) { o.stages = std::string(text); }},
};

std::string StagePath(const std::string& dir, int stage) {
    char name[32];
    std::snprintf(name, sizeof name, "/stage-%02d.demo", stage);
    return dir + name;
}

// Whether every demo the run writes can be written, asked before the search rather than after
// it; says which cannot and why.
bool AllWritable(const Options& o) {
    for (int stage = 0; stage <= kLastStage; ++stage) {
        const std::string path = o.all ? StagePath(o.outDir, stage) : o.out;
        if (const std::optional<std::string> why = WhyNotWritable(path, kTypedPath)) {
            std::cerr << "hopla-solve: cannot write " << Escaped(path) << ": " << *why << '\n';
            return false;
        }
        if (!o.all) break;
    }
    return true;
}

// None after saying what is wrong.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const OptionRow* row = std::find_if(std::begin(kOptions), std::end(kOptions),
                                            [&](const OptionRow& r) { return r.name == arg; });
        if (row == std::end(kOptions) || (row->takes == Takes::kText && !value)) {
            std::cerr << "hopla-solve: unknown option or missing value: " << arg << '\n';
            return std::nullopt;
        }
        long long number = 0;
        if (row->takes == Takes::kWholeNumber) {
            const std::optional<long long> v = value ? ParseNumber<long long>(value) : std::nullopt;
            if (!v || *v < row->min || *v > row->max) {
                std::cerr << "hopla-solve: " << arg << " takes a whole number " << row->min << ".."
                          << row->max << '\n';
                return std::nullopt;
            }
            number = *v;
        }
        row->set(o, row->takes == Takes::kNothing ? std::string_view() : value, number);
        if (row->takes != Takes::kNothing) ++i;
    }
    if (o.stages &&
        (o.all || o.game || o.prove || o.limitsGiven || !o.out.empty() || o.settings.linger > 0)) {
        std::cerr << "hopla-solve: --stages goes with --stage N, --out-dir, --seed and --beam\n";
        return std::nullopt;
    }
    if (!o.stages && o.stage.has_value() + o.all + o.game != 1) {
        std::cerr << "hopla-solve: one of --stage N, --all, --game or --stages FILE\n";
        return std::nullopt;
    }
    // The demos' folder is made when missing (not its parents: a mistyped path stays an error).
    if ((o.stages || o.all) && o.outDir != ".")
        if (const std::optional<std::string> error = MakeDirectory(o.outDir)) {
            std::cerr << "hopla-solve: --out-dir: " << Escaped(*error) << '\n';
            return std::nullopt;
        }
    if (o.stages) {
        // The par demos go into --out-dir: asked of a file there before the search.
        const std::string probe = o.outDir + "/stages-stage-00.demo";
        if (const std::optional<std::string> why = WhyNotWritable(probe, kTypedPath)) {
            std::cerr << "hopla-solve: cannot write the demos into " << Escaped(o.outDir) << ": "
                      << *why << '\n';
            return std::nullopt;
        }
        return o;
    }
    if (o.prove && !o.stage) {
        std::cerr << "hopla-solve: --prove goes with --stage N\n";
        return std::nullopt;
    }
    if (!o.prove && o.limitsGiven) {
        std::cerr << "hopla-solve: --time and --memory go with --prove\n";
        return std::nullopt;
    }
    if (o.settings.linger > 0 && !o.game) {
        std::cerr << "hopla-solve: --linger goes with --game\n";
        return std::nullopt;
    }
    if (o.out.empty()) o.out = o.game ? "game.demo" : StagePath(".", o.stage.value_or(0));
    if (!AllWritable(o)) return std::nullopt;
    return o;
}

// Every stage, `jobs` processes at a time; each prints its own line. Exit status: the worst.
int SolveAllStages(const Options& o) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<PoolResult> pool = RunInProcesses(kLastStage + 1, o.jobs, [&](int stage) {
        return SolveOneStage(stage, o.settings, StagePath(o.outDir, stage));
    });
    if (!pool) return 2;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("all stages: %.2f s wall, %.2f s processor, %d processes at a time\n", wall,
                pool->processorSeconds, o.jobs);
    return pool->status;
}

}  // namespace
}  // namespace hopla

int main(int argc, char** argv) {
    hopla::KeepStandardStreamsApart();
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << hopla::kUsage;
            return hopla::CheckedOutput("hopla-solve", 0);
        }
        if (std::string_view(argv[i]) == "--version") {
            std::cout << "hopla-solve " HOPLA_VERSION "\n";
            return hopla::CheckedOutput("hopla-solve", 0);
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
                hopla::LoadStages(*options->stages, hopla::RecordsDir(), hopla::ExecutableDir());
            return hopla::CheckedOutput(
                "hopla-solve",
                hopla::JudgeStageFile(stages, options->stage, options->outDir,
                                      {options->settings.seed, options->settings.beam}, std::cout,
                                      std::cerr));
        } catch (const hopla::StageFileError& e) {
            std::cerr << "hopla-solve: " << e.what() << '\n';
            return 2;
        }
    }
    if (options->all) return hopla::CheckedOutput("hopla-solve", hopla::SolveAllStages(*options));
    if (options->game)
        return hopla::CheckedOutput("hopla-solve",
                                    hopla::SolveGame(options->settings, options->out));
    if (options->prove)
        return hopla::CheckedOutput(
            "hopla-solve", hopla::ProveOneStage(*options->stage, options->settings, options->limits,
                                                options->out));
    return hopla::CheckedOutput(
        "hopla-solve", hopla::SolveOneStage(*options->stage, options->settings, options->out));
}
