// The game's command line: a table of options and the settings' flags, parsed without touching
// SDL.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/SettingRows.h"

namespace hopla {

// What the command line asked for; an option not given stays empty.
struct Options {
    bool help = false;
    bool version = false;
    bool records = false;               // --records: print the player's records and exit
    bool mute = false;                  // --mute: no sound device
    std::optional<std::string> record;  // --record DEMO: write the game's input to DEMO
    std::optional<std::string> play;    // --play DEMO: play DEMO back, the player's keys ignored
    std::optional<std::string> stages;  // --stages FILE: play FILE's stages
    std::optional<std::string> exportStages;  // --export-stages FILE: write the game's own
    std::optional<std::string> edit;          // --edit FILE: the stage editor on FILE
    std::optional<std::string> splits;  // --splits FILE: with --records, the best run as a .lss
    // --splits-out FILE: a line at each stage's end of the game played (- standard output).
    std::optional<std::string> splitsOut;
    bool force = false;  // --force: --export-stages and --splits replace their FILE
    // The settings given (--scale, --fullscreen, ...), each as its value's text, in order.
    std::vector<std::pair<Setting, std::string>> settings;
};

// The options, or the one line that says what was wrong with them.
struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // without the program name; empty when options is set
};

// Parses the arguments after the program name. "--name VALUE" and "--name=VALUE" are the same;
// an option given twice takes its last value.
ParsedOptions ParseOptions(std::span<const std::string_view> args);

// The usage text, one option a line (wrapped within 80 columns), made from the same tables.
std::string Usage();

// `file` with the command line's settings on top: for the run (`forRun`), every one given;
// for what is remembered, only those whose value from the command line is saved.
Settings WithCommandLine(Settings file, const Options& options, bool forRun);

}  // namespace hopla
