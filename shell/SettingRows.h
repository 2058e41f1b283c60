// The remembered settings, one row each: where the settings file keeps it, what values it takes,
// its command-line flag, its menu row, and whether a value from the command line is saved. The
// settings reader and writer, the option parser, --help and the menu are made from these rows.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/KeyBindings.h"
#include "shell/Scaling.h"

namespace hopla {

// The loudest volume; the menu steps by a tenth of it.
inline constexpr int kMaxVolume = 100;
// Whole-number window scales the player may ask for.
inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 8;
// The game's speeds in slow motion, in percent, full speed first: the assist's choices.
inline constexpr std::array<int, 4> kSpeeds = {100, 90, 75, 50};

// What is remembered; a default-made one holds every setting's default.
struct Settings {
    std::optional<int> scale;  // none is "auto", the largest that fits
    bool fullscreen = false;
    ScalingMode scaling = ScalingMode::Fit;  // how the whole screen (or a resized window) is filled
    int volume = kMaxVolume;                 // 0..kMaxVolume
    bool pauseWhenUnfocused = true;
    KeyBindings keys = {};   // none for a role: its default keys
    int speed = kSpeeds[0];  // percent of full speed, one of kSpeeds; below it the game is assisted
    bool race = false;       // the race overlay over the picture
    bool ghost = false;      // the best game's ball over the picture
    bool ghostStages = false;  // the ghost is each stage's best run, not the best game's
    bool operator==(const Settings&) const = default;
};

enum class Setting {
    Scale,
    Fullscreen,
    Scaling,
    PauseWhenUnfocused,
    Volume,
    Speed,
    Race,
    Ghost,
    GhostRun,
    Left,
    Right,
    Back,
    PadLeft,
    PadRight,
    PadBack
};

struct SettingRow {
    Setting id;
    std::string_view section, key;  // in the settings file
    std::string_view expects;       // what a good value is: "true or false"
    // Sets the value from its text as the file or the command line gives it; returns what is
    // wrong (without the key), or nothing.
    std::optional<std::string> (*read)(Settings&, std::string_view text, const KeyLookup& keys);
    // The value's text in the file; null for the key lists, which are written only when the
    // player changes them from the menu (by name: `keys`, with `pad` for a controller's).
    std::string (*write)(const Settings&) = nullptr;
    std::vector<std::int32_t> KeyBindings::*keys = nullptr;
    bool pad = false;
    // The command line: a flag with a value (valueName set) or a switch that sets `on` (and
    // `offFlag` that sets `off`); no flag, no option.
    std::string_view flag = {}, valueName = {}, help = {};
    std::string_view on = {}, offFlag = {}, off = {}, offHelp = {};
    // The menu: its label (none: not in the menu), the value as it shows there (null: as
    // written), and a step left (-1) or right (+1), which stops at the ends of a range and
    // goes round a choice of two. Choosing a row of two values steps it; a number is not
    // changed by choosing.
    std::string_view menuLabel = {};
    std::string (*show)(const Settings&) = nullptr;
    void (*step)(Settings&, int direction) = nullptr;
    bool number = false;
    // Whether a value given on the command line is remembered; when not, it is for that run
    // and the file keeps what it had.
    bool savedFromCommandLine = false;
};

// Every setting, in the order of a new settings file.
std::span<const SettingRow> SettingRows();
const SettingRow& RowOf(Setting id);

// A scale written as a whole number kMinScale..kMaxScale, with nothing around it.
std::optional<int> ParseScale(std::string_view text);
// A volume written as a whole number 0..kMaxVolume, with nothing around it.
std::optional<int> ParseVolume(std::string_view text);
// "integer" or "fit" (any case), and back.
std::optional<ScalingMode> ParseScaling(std::string_view text);
const char* ScalingName(ScalingMode mode);

// The settings file's and the flags' text: lower case (ASCII), and without white space at its
// ends.
std::string Lower(std::string_view text);
std::string_view Trim(std::string_view text);

}  // namespace hopla
