// hopla-sim: the game on a virtual clock, driven by a script, reporting JSON lines.
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "headless/SimCore.h"
#include "platform/Platform.h"
#include "shell/GameFiles.h"
#include "toolkit/Environment.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"
#include "toolkit/Numbers.h"
#include "toolkit/Output.h"
#include "tools/sim/Playback.h"
#include "tools/sim/Script.h"
#include "tools/sim/ScriptCommands.h"

namespace {

constexpr std::string_view kUsageHead =
    "usage: hopla-sim [--stages FILE] [--seed N] [--record DEMO] [SCRIPT]\n"
    "       hopla-sim [--stages FILE] --play DEMO [--until T]\n"
    "       hopla-sim --salvage DEMO > KEPT\n"
    "       hopla-sim --help | --version\n"
    "Runs the game on a virtual clock, one command a line from SCRIPT or standard input\n"
    "(blank lines and lines starting with # are skipped), writing JSON lines:\n";
// The commands' lines come between, from their table.
constexpr std::string_view kUsageTail =
    "--record DEMO writes the run as a demo (key and mouse commands are its input; 'stage'\n"
    "may only come first, 'set' not at all).\n"
    "--play DEMO plays a demo back as fast as it goes, printing each check line's result and\n"
    "the final state; --until T stops at T ms of game time.\n"
    "--salvage DEMO writes out a recording that was cut short (its program killed) as the demo\n"
    "it holds, up to its last check line.\n"
    "--stages FILE plays the stages of a stage file in place of the game's own (a demo records\n"
    "them, and plays back only on them).\n"
    "Exit status: 0 done or the game ended, 1 a command failed, the script could not be read\n"
    "or the output not written, or a demo's check did not match, 2 a bad line, option,\n"
    "demo file or stage file.\n";

std::string Usage() {
    return std::string(kUsageHead) + hopla::ScriptCommandsUsage() + std::string(kUsageTail);
}

struct Options {
    bool help = false;
    bool version = false;
    std::optional<std::uint32_t> seed;
    std::optional<std::string> script;
    std::optional<std::string> record;
    std::optional<std::string> play;
    std::optional<std::string> salvage;
    std::optional<double> until;
    std::optional<std::string> stages;  // --stages FILE
};

constexpr double kMaxUntilMs = 1e12;

std::optional<double> ParseMs(std::string_view text) {
    const std::optional<double> ms = hopla::ParseNumber<double>(text);
    if (!ms || !(*ms >= 0) || *ms > kMaxUntilMs) return std::nullopt;
    return ms;
}

// None after reporting a usage error.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--seed") {
            if (i + 1 == argc || !(options.seed = hopla::ParseNumber<std::uint32_t>(argv[i + 1]))) {
                std::cerr << "hopla-sim: --seed takes a whole number 0..4294967295\n" << Usage();
                return std::nullopt;
            }
            ++i;
        } else if (arg == "--stages") {
            if (i + 1 == argc) {
                std::cerr << "hopla-sim: --stages takes a stage file\n" << Usage();
                return std::nullopt;
            }
            options.stages = argv[++i];
        } else if (arg == "--record" || arg == "--play" || arg == "--salvage") {
            std::optional<std::string>& file = arg == "--record" ? options.record
                                               : arg == "--play" ? options.play
                                                                 : options.salvage;
            if (i + 1 == argc || file) {
                std::cerr << "hopla-sim: " << arg << " takes one demo file\n" << Usage();
                return std::nullopt;
            }
            file = argv[++i];
        } else if (arg == "--until") {
            if (i + 1 == argc || !(options.until = ParseMs(argv[i + 1]))) {
                std::cerr << "hopla-sim: --until takes a time in ms, 0..1e12\n" << Usage();
                return std::nullopt;
            }
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            std::cerr << "hopla-sim: unknown option " << arg << '\n' << Usage();
            return std::nullopt;
        } else if (options.script) {
            std::cerr << "hopla-sim: only one script\n" << Usage();
            return std::nullopt;
        } else {
            options.script = std::string(arg);
        }
    }
    if (options.play && (options.seed || options.script || options.record)) {
        std::cerr << "hopla-sim: --play takes the seed and the input from the demo: no --seed, "
                     "--record or script beside it\n"
                  << Usage();
        return std::nullopt;
    }
    if (options.salvage && (argc != 3)) {
        std::cerr << "hopla-sim: --salvage takes one demo file and nothing else\n" << Usage();
        return std::nullopt;
    }
    if (options.until && !options.play) {
        std::cerr << "hopla-sim: --until goes with --play\n" << Usage();
        return std::nullopt;
    }
    return options;
}

// What the options ask for; the exit status before the output's last flush is checked.
int Run(const std::optional<Options>& options) {
    if (!options) return hopla::kScriptBadLine;
    if (options->help || options->version) {
        if (options->help)
            std::cout << Usage();
        else
            std::cout << "hopla-sim " HOPLA_VERSION "\n";
        return hopla::kScriptDone;
    }
    // Unsynchronised, standard input reads through a file buffer that reports a failed read
    // instead of an early end.
    std::ios::sync_with_stdio(false);
    if (options->salvage) return hopla::SalvageDemoFile(*options->salvage, std::cout, std::cerr);
    // A stage file is read whole before anything runs.
    std::optional<hopla::ChosenStages> stages;
    if (options->stages) {
        try {
            stages =
                hopla::LoadStages(*options->stages, hopla::RecordsDir(), hopla::ExecutableDir());
        } catch (const hopla::StageFileError& e) {
            std::cerr << "hopla-sim: " << e.what() << '\n';
            return hopla::kScriptBadLine;
        }
    }
    if (options->play)
        return hopla::PlayDemoFile(*options->play, options->until, hopla::ExecutableDir(),
                                   std::cout, std::cerr, {hopla::StandardErrorIsTerminal()},
                                   stages ? &*stages : nullptr);
    std::ifstream file;
    if (options->script) {
        std::error_code error;
        if (std::filesystem::is_directory(hopla::PathFromUtf8(*options->script), error)) {
            std::cerr << "hopla-sim: " << *options->script << " is a directory, not a script\n";
            return hopla::kScriptFailed;
        }
        file.open(hopla::PathFromUtf8(*options->script));
        if (!file) {
            std::cerr << "hopla-sim: cannot read " << *options->script << ": "
                      << std::strerror(errno) << '\n';
            return hopla::kScriptFailed;
        }
    }
    std::istream& script = options->script ? file : std::cin;
    const std::uint32_t seed = options->seed.value_or(hopla::ClockSeed());
    hopla::SimCore sim(seed, hopla::ExecutableDir(), hopla::WaveFileLength);
    if (stages) sim.game().applyStages(stages->file);
    if (!options->record) return hopla::RunScript(sim, script, std::cout, std::cerr);
    // A pipe or a device is written as well (hopla-sim feeds other programs).
    std::ofstream demo(hopla::PathFromUtf8(*options->record), std::ios::binary | std::ios::trunc);
    if (!demo) {
        std::cerr << "hopla-sim: cannot write " << hopla::Escaped(*options->record) << ": "
                  << std::strerror(errno) << '\n';
        return hopla::kScriptFailed;
    }
    int status = hopla::kScriptDone;
    {
        hopla::ScriptRunner runner(sim, std::cout, std::cerr);
        runner.recordTo(demo, seed, stages ? std::optional(stages->id) : std::nullopt);
        status = runner.run(script);
    }
    demo.close();
    if (!demo) std::cerr << "hopla-sim: writing " << *options->record << " failed\n";
    // A run that failed before its first record leaves no empty file behind.
    std::error_code error;
    if ((!demo || status != hopla::kScriptDone) &&
        std::filesystem::file_size(hopla::PathFromUtf8(*options->record), error) == 0 && !error)
        std::filesystem::remove(hopla::PathFromUtf8(*options->record), error);
    return demo ? status : hopla::kScriptFailed;
}

}  // namespace

int main(int argc, char** argv) {
    hopla::KeepStandardStreamsApart();
    return hopla::CheckedOutput("hopla-sim", Run(ParseOptions(argc, argv)));
}
