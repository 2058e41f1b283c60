// The game's command line: a table of options, parsed without touching SDL.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frontend/Scaling.h"

namespace hopla {

// Whole-number window scales the player may ask for.
inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 8;

// What the command line asked for; an option not given stays empty, so that the remembered
// settings can fill it in.
struct Options {
    bool help = false;
    bool version = false;
    bool records = false;                // --records: print the player's records and exit
    std::optional<int> scale;            // --scale N
    std::optional<bool> fullscreen;      // --fullscreen (true) or --window (false); the last wins
    std::optional<ScalingMode> scaling;  // --scaling integer|fit
    bool mute = false;                   // --mute: no sound device
    std::optional<int> volume;           // --volume 0..100
    std::optional<std::string> record;   // --record DEMO: write the game's input to DEMO
    std::optional<std::string> play;     // --play DEMO: play DEMO back, the player's keys ignored
    std::optional<std::string> stages;   // --stages FILE: play FILE's stages
    std::optional<std::string> exportStages;  // --export-stages FILE: write the game's own
    std::optional<std::string> edit;          // --edit FILE: the stage editor on FILE
};

// The options, or the one line that says what was wrong with them.
struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // without the program name; empty when options is set
};

// Parses the arguments after the program name. "--name VALUE" and "--name=VALUE" are the same;
// an option given twice takes its last value.
ParsedOptions ParseOptions(std::span<const std::string_view> args);

// The usage text, one line per option, made from the same table.
std::string Usage();

// A scale written as a whole number kMinScale..kMaxScale, with nothing around it.
std::optional<int> ParseScale(std::string_view text);
// A volume written as a whole number 0..100, with nothing around it.
std::optional<int> ParseVolume(std::string_view text);
// "integer" or "fit" (any case), and back.
std::optional<ScalingMode> ParseScaling(std::string_view text);
const char* ScalingName(ScalingMode mode);

}  // namespace hopla
