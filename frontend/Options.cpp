// The option table: each row names an option, its value and what it sets.
#include "frontend/Options.h"

#include <array>
#include <cctype>

#include "toolkit/Numbers.h"

namespace hopla {
namespace {

struct OptionRow {
    std::string_view name;       // "--scale"
    std::string_view shortName;  // "-h", or empty
    std::string_view valueName;  // "N" for an option that takes a value, empty for a switch
    std::string_view help;
    // Sets the option from its value (empty for a switch); returns what is wrong, or nothing.
    std::string (*apply)(Options&, std::string_view value);
};

// A later option is one more row here and one more field in Options.
constexpr std::array kRows = {
    OptionRow{"--help", "-h", "", "print this help and exit",
              [](Options& o, std::string_view) {
                  o.help = true;
                  return std::string();
              }},
    OptionRow{"--version", "", "", "print the version and exit",
              [](Options& o, std::string_view) {
                  o.version = true;
                  return std::string();
              }},
    OptionRow{"--records", "", "", "print your best game and best stage times and exit",
              [](Options& o, std::string_view) {
                  o.records = true;
                  return std::string();
              }},
    OptionRow{"--scale", "", "N",
              "window at N times 800 x 600, N = 1..8 (default: the largest that fits)",
              [](Options& o, std::string_view value) {
                  o.scale = ParseScale(value);
                  if (o.scale) return std::string();
                  return "--scale takes a whole number from 1 to 8, not '" + std::string(value) +
                         "'";
              }},
    OptionRow{"--fullscreen", "", "", "start on the whole screen",
              [](Options& o, std::string_view) {
                  o.fullscreen = true;
                  return std::string();
              }},
    OptionRow{"--window", "", "", "start in a window (even if fullscreen was remembered)",
              [](Options& o, std::string_view) {
                  o.fullscreen = false;
                  return std::string();
              }},
    OptionRow{"--scaling", "", "MODE",
              "fill the whole screen with whole-number blocks or fit it sharply: integer or fit "
              "(default fit)",
              [](Options& o, std::string_view value) {
                  o.scaling = ParseScaling(value);
                  if (o.scaling) return std::string();
                  return "--scaling takes integer or fit, not '" + std::string(value) + "'";
              }},
    OptionRow{"--volume", "", "N", "sound volume N = 0..100 (default 100)",
              [](Options& o, std::string_view value) {
                  o.volume = ParseVolume(value);
                  if (o.volume) return std::string();
                  return "--volume takes a whole number from 0 to 100, not '" + std::string(value) +
                         "'";
              }},
    OptionRow{"--mute", "", "", "no sound (the game keeps its pace)",
              [](Options& o, std::string_view) {
                  o.mute = true;
                  return std::string();
              }},
    OptionRow{"--record", "", "DEMO", "play and write the game's input to DEMO as a demo",
              [](Options& o, std::string_view value) {
                  if (o.play) return std::string("--record and --play exclude each other");
                  if (value.empty()) return std::string("--record needs a file name");
                  o.record = std::string(value);
                  return std::string();
              }},
    OptionRow{"--play", "", "DEMO", "play DEMO back in the window; the player's keys are ignored",
              [](Options& o, std::string_view value) {
                  if (o.record) return std::string("--record and --play exclude each other");
                  if (value.empty()) return std::string("--play needs a file name");
                  o.play = std::string(value);
                  return std::string();
              }},
    OptionRow{"--stages", "", "FILE",
              "play the stages of FILE (or NAME from the stage folders) in place of the game's",
              [](Options& o, std::string_view value) {
                  if (value.empty()) return std::string("--stages needs a file name");
                  o.stages = std::string(value);
                  return std::string();
              }},
    OptionRow{"--export-stages", "", "FILE",
              "write the game's own stages to FILE as a stage file (- for standard output)",
              [](Options& o, std::string_view value) {
                  if (value.empty()) return std::string("--export-stages needs a file name");
                  o.exportStages = std::string(value);
                  return std::string();
              }},
    OptionRow{"--edit", "", "FILE",
              "edit the stage file FILE in the window (a new file starts from the game's stages)",
              [](Options& o, std::string_view value) {
                  if (value.empty()) return std::string("--edit needs a file name");
                  o.edit = std::string(value);
                  return std::string();
              }},
};

const OptionRow* Find(std::string_view name) {
    for (const OptionRow& row : kRows)
        if (row.name == name || (!row.shortName.empty() && row.shortName == name)) return &row;
    return nullptr;
}

// A whole number lo..hi written with nothing around it.
std::optional<int> ParseWhole(std::string_view text, int lo, int hi) {
    const std::optional<int> n = ParseNumber<int>(text);
    if (!n || *n < lo || *n > hi) return std::nullopt;
    return n;
}

}  // namespace

std::optional<int> ParseScale(std::string_view text) {
    return ParseWhole(text, kMinScale, kMaxScale);
}

std::optional<int> ParseVolume(std::string_view text) {
    return ParseWhole(text, 0, 100);
}

std::optional<ScalingMode> ParseScaling(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "integer") return ScalingMode::Integer;
    if (lower == "fit") return ScalingMode::Fit;
    return std::nullopt;
}

const char* ScalingName(ScalingMode mode) {
    return mode == ScalingMode::Fit ? "fit" : "integer";
}

ParsedOptions ParseOptions(std::span<const std::string_view> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--"))
            if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
                inlineValue = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }
        const OptionRow* row = Find(arg);
        if (!row) {
            if (arg.starts_with("-") && arg != "-")
                return {std::nullopt, "unknown option " + std::string(arg)};
            return {std::nullopt, "unexpected argument '" + std::string(arg) + "'"};
        }
        std::string_view value;
        if (row->valueName.empty()) {
            if (inlineValue) return {std::nullopt, std::string(arg) + " takes no value"};
        } else if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return {std::nullopt,
                    std::string(arg) + " needs a value (" + std::string(row->valueName) + ")"};
        }
        if (std::string error = row->apply(options, value); !error.empty())
            return {std::nullopt, std::move(error)};
    }
    return {options, {}};
}

std::string Usage() {
    std::string text = "usage: hopla [OPTION]...\n";
    text += "Steer a ball through 21 stages. Options:\n";
    for (const OptionRow& row : kRows) {
        std::string left = "  ";
        if (!row.shortName.empty()) left.append(row.shortName).append(", ");
        left.append(row.name);
        if (!row.valueName.empty()) left.append(" ").append(row.valueName);
        left.resize(std::max<std::size_t>(left.size() + 2, 18), ' ');
        text.append(left).append(row.help).append("\n");
    }
    text +=
        "Keys: arrows (or A and D) steer, Space returns to the title room, Enter skips the\n"
        "opening, Esc opens the menu, P pauses, M mutes, F11 or Alt+Enter toggles the whole\n"
        "screen, Ctrl+Plus/Ctrl+Minus change the window's scale, F12 saves a screenshot.\n";
    return text;
}

}  // namespace hopla
