// Settings file: screened for size and binary content, parsed by libinih, written atomically
// through the platform.
#include "frontend/Settings.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "frontend/Options.h"
#include "platform/Platform.h"
#include "toolkit/Escape.h"

namespace hopla {
namespace {

// The game writes about 120 bytes; anything much larger is not its file.
constexpr std::size_t kMaxFileBytes = 4096;
// libinih reads lines in pieces of this many bytes; a longer line would come apart in pieces
// that could each look like an entry, so such a file is refused before parsing.
constexpr std::size_t kMaxLineBytes = 160;

constexpr std::string_view kWindow = "window", kSound = "sound";

std::string Lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::optional<bool> ParseBool(std::string_view text) {
    const std::string s = Lower(text);
    if (s == "true" || s == "yes" || s == "on" || s == "1") return true;
    if (s == "false" || s == "no" || s == "off" || s == "0") return false;
    return std::nullopt;
}

struct Parse {
    Settings settings;
    std::string error;  // the first problem
};

int OnEntry(void* user, const char* section, const char* name, const char* value) {
    auto& parse = *static_cast<Parse*>(user);
    auto fail = [&](std::string why) {
        if (parse.error.empty()) parse.error = std::move(why);
        return 0;
    };
    const std::string key = Lower(name);
    if (section == kSound) {
        if (key != "volume") return fail("unknown key '" + std::string(name).substr(0, 40) + "'");
        const std::optional<int> volume = ParseVolume(value);
        if (!volume) return fail("volume must be a whole number from 0 to 100");
        parse.settings.volume = *volume;
        return 1;
    }
    if (section != kWindow) return fail("unknown section [" + std::string(section) + "]");
    if (key == "scale") {
        if (Lower(value) == "auto") {
            parse.settings.scale.reset();
        } else if (const std::optional<int> n = ParseScale(value)) {
            parse.settings.scale = n;
        } else {
            return fail("scale must be auto or a whole number from 1 to 8");
        }
    } else if (key == "fullscreen") {
        const std::optional<bool> b = ParseBool(value);
        if (!b) return fail("fullscreen must be true or false");
        parse.settings.fullscreen = *b;
    } else if (key == "scaling") {
        const std::optional<ScalingMode> mode = ParseScaling(value);
        if (!mode) return fail("scaling must be integer or fit");
        parse.settings.scaling = *mode;
    } else if (key == "pause_when_unfocused") {
        const std::optional<bool> b = ParseBool(value);
        if (!b) return fail("pause_when_unfocused must be true or false");
        parse.settings.pauseWhenUnfocused = *b;
    } else {
        return fail("unknown key '" + std::string(name).substr(0, 40) + "'");
    }
    return 1;
}

// What makes a text unfit for the parser: binary bytes or an over-long line.
std::string Unfit(std::string_view text) {
    std::size_t lineStart = 0;
    int line = 1;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            if (i - lineStart > kMaxLineBytes)
                return "line " + std::to_string(line) + " is too long";
            lineStart = i + 1;
            ++line;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\r') return "not a text file";
    }
    return {};
}

}  // namespace

std::string SettingsPath() {
    const std::string dir = SettingsDir();
    return dir.empty() ? std::string() : dir + "/settings.ini";
}

LoadedSettings LoadSettings(const std::string& path) {
    LoadedSettings loaded;
    const SmallFile file = ReadSmallFile(path, kMaxFileBytes);
    if (!file.text) {
        if (!file.error.empty()) loaded.warning = Escaped("ignoring " + path + ": " + file.error);
        return loaded;
    }
    const std::string& text = *file.text;
    if (std::string why = Unfit(text); !why.empty()) {
        loaded.warning = Escaped("ignoring " + path + ": " + why);
        return loaded;
    }
    Parse parse;
    // The first error is the one reported, so parsing stops there.
    ini_stop_on_first_error = true;
    const int status = ini_parse_string(text.c_str(), &OnEntry, &parse);
    if (status != 0) {
        loaded.warning = Escaped("ignoring " + path + ": line " + std::to_string(status) + ": " +
                                 (parse.error.empty() ? "not a setting" : parse.error));
        return loaded;
    }
    loaded.settings = parse.settings;
    return loaded;
}

std::string FormatSettings(const Settings& settings) {
    std::string text = "# Hopla's remembered window choices; the game rewrites this file.\n";
    text += "[window]\n";
    text += "scale = " + (settings.scale ? std::to_string(*settings.scale) : "auto") + "\n";
    text += std::string("fullscreen = ") + (settings.fullscreen ? "true" : "false") + "\n";
    text += "scaling = " + std::string(ScalingName(settings.scaling)) + "\n";
    text += std::string("pause_when_unfocused = ") +
            (settings.pauseWhenUnfocused ? "true" : "false") + "\n";
    text += "[sound]\n";
    text += "volume = " + std::to_string(settings.volume) + "\n";
    return text;
}

std::optional<std::string> SaveSettings(const std::string& path, const Settings& settings) {
    if (path.empty()) return "no place for settings (neither XDG_CONFIG_HOME nor HOME is set)";
    return ReplaceFile(path, FormatSettings(settings));
}

}  // namespace hopla
