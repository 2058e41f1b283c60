// The table of settings: each row's file key, values, flag and menu row.
#include "shell/SettingRows.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>

#include "toolkit/Numbers.h"

namespace hopla {
namespace {

using Problem = std::optional<std::string>;

// A whole number lo..hi written with nothing around it.
std::optional<int> ParseWhole(std::string_view text, int lo, int hi) {
    const std::optional<int> n = ParseNumber<int>(text);
    if (!n || *n < lo || *n > hi) return std::nullopt;
    return n;
}

Problem ReadBool(bool& out, std::string_view text) {
    const std::string s = Lower(text);
    if (s == "true" || s == "yes" || s == "on" || s == "1") {
        out = true;
    } else if (s == "false" || s == "no" || s == "off" || s == "0") {
        out = false;
    } else {
        return "";
    }
    return std::nullopt;
}

std::string BoolText(bool b) {
    return b ? "true" : "false";
}

// A comma-separated list of names, each looked up with `lookup`; `what` names what a name
// should be ("key", "button") for the one line about a name that is none.
Problem ReadNames(std::vector<std::int32_t>& out, std::string_view text, const KeyLookup& lookup,
                  const char* what) {
    std::vector<std::int32_t> codes;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view name = Trim(text.substr(0, comma));
        const std::optional<std::int32_t> code = lookup ? lookup(name) : std::nullopt;
        if (!code)
            return "'" + std::string(name.substr(0, 40)) + "' is no " + what + " name SDL knows";
        codes.push_back(*code);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    out = std::move(codes);
    return std::nullopt;
}

// A list of key names, "Left, A, Keypad 4".
Problem ReadKeys(std::vector<std::int32_t>& out, std::string_view text, const KeyLookup& lookup) {
    return ReadNames(out, text, lookup, "key");
}

// A list of a controller's buttons by SDL's names, "dpleft, x".
Problem ReadButtons(std::vector<std::int32_t>& out, std::string_view text) {
    const KeyLookup buttons = [](std::string_view name) -> std::optional<std::int32_t> {
        const std::optional<PadButton> button = PadButtonFromKey(name);
        if (!button) return std::nullopt;
        return static_cast<std::int32_t>(*button);
    };
    return ReadNames(out, text, buttons, "button");
}

void Toggle(bool& b, int) {
    b = !b;
}

// The rows. A problem "" is a bad value: the reader says what a good one is.
constexpr std::array kRows = {
    SettingRow{
        .id = Setting::Scale,
        .section = "window",
        .key = "scale",
        .expects = "auto or a whole number from 1 to 8",
        .read = [](Settings& s, std::string_view text, const KeyLookup&) -> Problem {
            if (Lower(text) == "auto") {
                s.scale.reset();
            } else if (const std::optional<int> n = ParseScale(text)) {
                s.scale = n;
            } else {
                return "";
            }
            return std::nullopt;
        },
        .write = [](const Settings& s) { return s.scale ? std::to_string(*s.scale) : "auto"; },
        .flag = "--scale",
        .valueName = "N",
        .help = "the window at N times 800 x 600, N = 1..8, or auto: the largest that fits",
    },
    SettingRow{
        .id = Setting::Fullscreen,
        .section = "window",
        .key = "fullscreen",
        .expects = "true or false",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadBool(s.fullscreen, text); },
        .write = [](const Settings& s) { return BoolText(s.fullscreen); },
        .flag = "--fullscreen",
        .help = "start on the whole screen",
        .on = "true",
        .offFlag = "--window",
        .off = "false",
        .offHelp = "start in a window",
        .menuLabel = "Whole screen",
        .show = [](const Settings& s) { return std::string(s.fullscreen ? "on" : "off"); },
        .step = [](Settings& s, int d) { Toggle(s.fullscreen, d); },
    },
    SettingRow{
        .id = Setting::Scaling,
        .section = "window",
        .key = "scaling",
        .expects = "integer or fit",
        .read = [](Settings& s, std::string_view text, const KeyLookup&) -> Problem {
            const std::optional<ScalingMode> mode = ParseScaling(text);
            if (!mode) return "";
            s.scaling = *mode;
            return std::nullopt;
        },
        .write = [](const Settings& s) { return std::string(ScalingName(s.scaling)); },
        .flag = "--scaling",
        .valueName = "MODE",
        .help = "fill the whole screen with whole-number blocks (integer) or sharply to its "
                "edges (fit)",
        .menuLabel = "Scaling",
        .step =
            [](Settings& s, int) {
                s.scaling = s.scaling == ScalingMode::Fit ? ScalingMode::Integer : ScalingMode::Fit;
            },
    },
    SettingRow{
        .id = Setting::PauseWhenUnfocused,
        .section = "window",
        .key = "pause_when_unfocused",
        .expects = "true or false",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadBool(s.pauseWhenUnfocused, text); },
        .write = [](const Settings& s) { return BoolText(s.pauseWhenUnfocused); },
    },
    SettingRow{
        .id = Setting::Volume,
        .section = "sound",
        .key = "volume",
        .expects = "a whole number from 0 to 100",
        .read = [](Settings& s, std::string_view text, const KeyLookup&) -> Problem {
            const std::optional<int> volume = ParseVolume(text);
            if (!volume) return "";
            s.volume = *volume;
            return std::nullopt;
        },
        .write = [](const Settings& s) { return std::to_string(s.volume); },
        .flag = "--volume",
        .valueName = "N",
        .help = "the sound's volume, N = 0..100",
        .menuLabel = "Volume",
        .step =
            [](Settings& s, int d) {
                s.volume = std::clamp(s.volume + d * (kMaxVolume / 10), 0, kMaxVolume);
            },
        .number = true,
    },
    SettingRow{
        .id = Setting::Speed,
        .section = "play",
        .key = "speed",
        .expects = "100, 90, 75 or 50",
        .read = [](Settings& s, std::string_view text, const KeyLookup&) -> Problem {
            const std::optional<int> speed = ParseNumber<int>(text);
            if (!speed || std::find(kSpeeds.begin(), kSpeeds.end(), *speed) == kSpeeds.end())
                return "";
            s.speed = *speed;
            return std::nullopt;
        },
        .write = [](const Settings& s) { return std::to_string(s.speed); },
        .flag = "--speed",
        .valueName = "N",
        .help = "slow motion: the game at N % of its speed, N = 100, 90, 75 or 50; a slowed "
                "game is kept apart from the records",
        .menuLabel = "Slow motion",
        .show =
            [](const Settings& s) {
                return s.speed == kSpeeds[0] ? std::string("off") : std::to_string(s.speed) + " %";
            },
        .step =
            [](Settings& s, int d) {
                // Right slows the game down; the ends stay.
                const auto at = std::find(kSpeeds.begin(), kSpeeds.end(), s.speed);
                const int i = at == kSpeeds.end() ? 0 : static_cast<int>(at - kSpeeds.begin());
                s.speed = kSpeeds[static_cast<std::size_t>(
                    std::clamp(i + d, 0, static_cast<int>(kSpeeds.size()) - 1))];
            },
        .number = true,
    },
    SettingRow{
        .id = Setting::Race,
        .section = "play",
        .key = "race_overlay",
        .expects = "true or false",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadBool(s.race, text); },
        .write = [](const Settings& s) { return BoolText(s.race); },
        .flag = "--race",
        .help = "show the race overlay: the stage, balls, ticks, score and splits (Tab)",
        .on = "true",
        .offFlag = "--no-race",
        .off = "false",
        .offHelp = "no race overlay",
        .menuLabel = "Race overlay",
        .show = [](const Settings& s) { return std::string(s.race ? "on" : "off"); },
        .step = [](Settings& s, int d) { Toggle(s.race, d); },
    },
    SettingRow{
        .id = Setting::Ghost,
        .section = "play",
        .key = "ghost",
        .expects = "true or false",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadBool(s.ghost, text); },
        .write = [](const Settings& s) { return BoolText(s.ghost); },
        .flag = "--ghost",
        .help = "show the ghost: the ball of your best run (--ghost-run), where it was at the "
                "same tick",
        .on = "true",
        .offFlag = "--no-ghost",
        .off = "false",
        .offHelp = "no ghost",
        .menuLabel = "Ghost",
        .show =
            [](const Settings& s) {
                return std::string(!s.ghost ? "off" : s.ghostStages ? "best stages" : "best game");
            },
        .step =
            [](Settings& s, int d) {
                // Round the three: off, the best game's run, each stage's best run.
                const int at = (s.ghost ? 1 + s.ghostStages : 0) + (d < 0 ? 2 : 1);
                s.ghost = at % 3 != 0;
                if (s.ghost) s.ghostStages = at % 3 == 2;
            },
    },
    SettingRow{
        .id = Setting::GhostRun,
        .section = "play",
        .key = "ghost_run",
        .expects = "game or stages",
        .read = [](Settings& s, std::string_view text, const KeyLookup&) -> Problem {
            const std::string run = Lower(text);
            if (run != "game" && run != "stages") return "";
            s.ghostStages = run == "stages";
            return std::nullopt;
        },
        .write = [](const Settings& s) { return std::string(s.ghostStages ? "stages" : "game"); },
        .flag = "--ghost-run",
        .valueName = "RUN",
        .help = "the ghost's run: game (your best game's, the default) or stages (each stage's "
                "fewest ticks)",
    },
    SettingRow{
        .id = Setting::Left,
        .section = "keys",
        .key = "left",
        .expects = "key names",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup& keys) { return ReadKeys(s.keys.left, text, keys); },
        .keys = &KeyBindings::left,
    },
    SettingRow{
        .id = Setting::Right,
        .section = "keys",
        .key = "right",
        .expects = "key names",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup& keys) { return ReadKeys(s.keys.right, text, keys); },
        .keys = &KeyBindings::right,
    },
    SettingRow{
        .id = Setting::Back,
        .section = "keys",
        .key = "back",
        .expects = "key names",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup& keys) { return ReadKeys(s.keys.back, text, keys); },
        .keys = &KeyBindings::back,
    },
    SettingRow{
        .id = Setting::PadLeft,
        .section = "keys",
        .key = "pad_left",
        .expects = "controller button names",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadButtons(s.keys.padLeft, text); },
        .keys = &KeyBindings::padLeft,
        .pad = true,
    },
    SettingRow{
        .id = Setting::PadRight,
        .section = "keys",
        .key = "pad_right",
        .expects = "controller button names",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadButtons(s.keys.padRight, text); },
        .keys = &KeyBindings::padRight,
        .pad = true,
    },
    SettingRow{
        .id = Setting::PadBack,
        .section = "keys",
        .key = "pad_back",
        .expects = "controller button names",
        .read = [](Settings& s, std::string_view text,
                   const KeyLookup&) { return ReadButtons(s.keys.padBack, text); },
        .keys = &KeyBindings::padBack,
        .pad = true,
    },
};

}  // namespace

std::span<const SettingRow> SettingRows() {
    return kRows;
}

const SettingRow& RowOf(Setting id) {
    for (const SettingRow& row : kRows)
        if (row.id == id) return row;
    throw std::logic_error("a setting without a row");
}

std::optional<int> ParseScale(std::string_view text) {
    return ParseWhole(text, kMinScale, kMaxScale);
}

std::optional<int> ParseVolume(std::string_view text) {
    return ParseWhole(text, 0, kMaxVolume);
}

std::optional<ScalingMode> ParseScaling(std::string_view text) {
    const std::string lower = Lower(text);
    if (lower == "integer") return ScalingMode::Integer;
    if (lower == "fit") return ScalingMode::Fit;
    return std::nullopt;
}

const char* ScalingName(ScalingMode mode) {
    return mode == ScalingMode::Fit ? "fit" : "integer";
}

std::string Lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

}  // namespace hopla
