// The option table: each row names an option, its value and what it sets; the settings' flags
// come from the settings' rows.
#include "shell/Options.h"

#include <array>

namespace hopla {
namespace {

struct OptionRow {
    std::string_view name;       // "--record"
    std::string_view shortName;  // "-h", or empty
    std::string_view valueName;  // "DEMO" for an option that takes a value, empty for a switch
    std::string_view help;
    // Sets the option from its value (empty for a switch); returns what is wrong, or nothing.
    std::string (*apply)(Options&, std::string_view value);
};

// A later option is one more row here (or in the settings' rows) and one more field in Options.
constexpr std::array kFirstRows = {
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
    OptionRow{"--records", "", "", "print your best game, best stage times and last games and exit",
              [](Options& o, std::string_view) {
                  o.records = true;
                  return std::string();
              }},
};
// After the settings' flags.
constexpr std::array kLastRows = {
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
    OptionRow{"--splits", "", "FILE",
              "with --records: write the best game's stage times to FILE as a LiveSplit "
              "splits file (.lss)",
              [](Options& o, std::string_view value) {
                  if (value.empty()) return std::string("--splits needs a file name");
                  o.splits = std::string(value);
                  return std::string();
              }},
    OptionRow{"--splits-out", "", "FILE",
              "while playing, write a line to FILE (- for standard output) at each stage's end: "
              "its ticks, the score so far and the split against the best game",
              [](Options& o, std::string_view value) {
                  if (value.empty()) return std::string("--splits-out needs a file name or -");
                  o.splitsOut = std::string(value);
                  return std::string();
              }},
    OptionRow{"--force", "", "", "with --export-stages or --splits: replace FILE when it exists",
              [](Options& o, std::string_view) {
                  o.force = true;
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

// Options that do one thing and exit go alone: the rest would be ignored without a word.
std::string Conflict(const Options& o) {
    if (o.exportStages && (o.edit || o.play || o.record || o.stages || o.records))
        return "--export-stages goes alone (no --edit, --play, --record, --stages or --records)";
    if (o.records && (o.edit || o.play || o.record))
        return "--records goes alone (no --edit, --play or --record; --stages names whose)";
    if (o.edit && (o.play || o.record || o.stages))
        return "--edit goes alone (no --play, --record or --stages)";
    if (o.splits && !o.records) return "--splits goes with --records";
    if (o.splitsOut && (o.records || o.exportStages || o.edit))
        return "--splits-out goes with a game (not --records, --export-stages or --edit)";
    if (o.force && !o.exportStages && !o.splits)
        return "--force goes with --export-stages or --splits only";
    return {};
}

const OptionRow* FindOption(std::string_view name) {
    const auto named = [&](const OptionRow& row) {
        return row.name == name || (!row.shortName.empty() && row.shortName == name);
    };
    for (const OptionRow& row : kFirstRows)
        if (named(row)) return &row;
    for (const OptionRow& row : kLastRows)
        if (named(row)) return &row;
    return nullptr;
}

// A setting's flag: its row, and for a switch the value it sets.
struct SettingFlag {
    const SettingRow* row = nullptr;
    std::optional<std::string_view> switchValue;
};

std::optional<SettingFlag> FindSettingFlag(std::string_view name) {
    for (const SettingRow& row : SettingRows()) {
        if (!row.flag.empty() && row.flag == name)
            return SettingFlag{&row, row.valueName.empty() ? std::optional(row.on) : std::nullopt};
        if (!row.offFlag.empty() && row.offFlag == name) return SettingFlag{&row, row.off};
    }
    return std::nullopt;
}

// One option's lines of the usage: its name and value in a column, its help (and the setting's
// default) wrapped beside it.
constexpr std::size_t kHelpColumn = 24, kWidth = 80;

void AddUsage(std::string& text, std::string left, std::string_view help) {
    left.insert(0, "  ");
    if (left.size() + 2 > kHelpColumn) {
        text += left + "\n";
        left.clear();
    }
    left.resize(kHelpColumn, ' ');
    std::string line = left;
    while (!help.empty()) {
        const std::size_t space = help.find(' ');
        const std::string_view word = help.substr(0, space);
        if (line.size() > kHelpColumn && line.size() + 1 + word.size() > kWidth) {
            text += line + "\n";
            line.assign(kHelpColumn, ' ');
        }
        if (line.size() > kHelpColumn) line += ' ';
        line += word;
        help.remove_prefix(space == std::string_view::npos ? help.size() : space + 1);
    }
    text += line + "\n";
}

void AddOptionUsage(std::string& text, const OptionRow& row) {
    std::string left;
    if (!row.shortName.empty()) left.append(row.shortName).append(", ");
    left.append(row.name);
    if (!row.valueName.empty()) left.append(" ").append(row.valueName);
    AddUsage(text, left, row.help);
}

}  // namespace

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
        const OptionRow* row = FindOption(arg);
        const std::optional<SettingFlag> setting = row ? std::nullopt : FindSettingFlag(arg);
        if (!row && !setting) {
            if (arg.starts_with("-") && arg != "-")
                return {std::nullopt, "unknown option " + std::string(arg)};
            return {std::nullopt, "unexpected argument '" + std::string(arg) + "'"};
        }
        const std::string_view valueName =
            row ? row->valueName : (setting->switchValue ? "" : setting->row->valueName);
        std::string_view value;
        if (valueName.empty()) {
            if (inlineValue) return {std::nullopt, std::string(arg) + " takes no value"};
        } else if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return {std::nullopt,
                    std::string(arg) + " needs a value (" + std::string(valueName) + ")"};
        }
        if (row) {
            if (std::string error = row->apply(options, value); !error.empty())
                return {std::nullopt, std::move(error)};
            continue;
        }
        if (setting->switchValue) value = *setting->switchValue;
        Settings tried;
        if (setting->row->read(tried, value, {}))
            return {std::nullopt, std::string(arg) + " takes " +
                                      std::string(setting->row->expects) + ", not '" +
                                      std::string(value) + "'"};
        options.settings.emplace_back(setting->row->id, std::string(value));
    }
    if (std::string conflict = Conflict(options); !conflict.empty())
        return {std::nullopt, std::move(conflict)};
    return {options, {}};
}

std::string Usage() {
    std::string text = "usage: hopla [OPTION]...\n";
    text += "Steer a ball through 21 stages. Options:\n";
    for (const OptionRow& row : kFirstRows) AddOptionUsage(text, row);
    const Settings defaults;
    for (const SettingRow& row : SettingRows()) {
        if (row.flag.empty()) continue;
        std::string help(row.help);
        if (row.write && !row.valueName.empty()) help += " (default " + row.write(defaults) + ")";
        std::string left(row.flag);
        if (!row.valueName.empty()) left.append(" ").append(row.valueName);
        AddUsage(text, left, help);
        if (!row.offFlag.empty()) AddUsage(text, std::string(row.offFlag), row.offHelp);
    }
    for (const OptionRow& row : kLastRows) AddOptionUsage(text, row);
    text +=
        "Keys: arrows (or A and D) steer, Space returns to the title room, Enter skips\n"
        "the opening, Esc opens the menu, P pauses, M mutes, F11 or Alt+Enter toggles\n"
        "the whole screen, Ctrl+Plus/Ctrl+Minus change the window's scale, F12 saves a\n"
        "screenshot. A setting given here holds for this run; what you change in the\n"
        "game is remembered.\n";
    return text;
}

Settings WithCommandLine(Settings file, const Options& options, bool forRun) {
    for (const auto& [id, value] : options.settings) {
        const SettingRow& row = RowOf(id);
        if (forRun || row.savedFromCommandLine) row.read(file, value, {});
    }
    return file;
}

}  // namespace hopla
