// Settings file: screened for size and binary content, read line by line with the table of
// settings, rewritten keeping every line but the values it owns, written atomically through the
// platform.
#include "shell/Settings.h"

#include <algorithm>
#include <cctype>

#include "platform/Platform.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

namespace hopla {
namespace {

// The game writes about 200 bytes and a player's key lists a few more; anything much larger is
// not its file.
constexpr std::size_t kMaxFileBytes = 4096;
// A line longer than any setting needs is skipped as not one.
constexpr std::size_t kMaxLineBytes = 160;

// One line of the file as read: a section header, an entry (its value's place in the line kept
// for rewriting), or neither.
struct Line {
    std::string_view raw;  // without its '\n'
    std::string section;   // the section it is in (lower case); for a header, its own name
    bool header = false;
    bool entry = false;
    std::string key;  // lower case
    std::size_t valueBegin = 0, valueEnd = 0;
    std::string problem;  // why the line is no setting; empty for settings, comments and blanks
};

std::vector<Line> Scan(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<Line> lines;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        Line line;
        line.raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view body = Trim(line.raw);
        if (line.raw.size() > kMaxLineBytes) {
            line.problem = "too long";
        } else if (body.empty() || body.front() == ';' || body.front() == '#') {
        } else if (body.front() == '[') {
            if (body.back() != ']') {
                line.problem = "not a setting";
            } else {
                section = Lower(Trim(body.substr(1, body.size() - 2)));
                line.header = true;
            }
        } else if (const std::size_t eq = line.raw.find_first_of("=:");
                   eq == std::string_view::npos || Trim(line.raw.substr(0, eq)).empty()) {
            line.problem = "not a setting";
        } else {
            line.entry = true;
            line.key = Lower(Trim(line.raw.substr(0, eq)));
            // The value runs to a ';' after white space, which starts a comment.
            std::size_t valueEnd = line.raw.size();
            for (std::size_t i = eq + 1; i < line.raw.size(); ++i)
                if (line.raw[i] == ';' &&
                    std::isspace(static_cast<unsigned char>(line.raw[i - 1]))) {
                    valueEnd = i;
                    break;
                }
            std::size_t begin = eq + 1;
            while (begin < valueEnd && std::isspace(static_cast<unsigned char>(line.raw[begin])))
                ++begin;
            while (valueEnd > begin &&
                   std::isspace(static_cast<unsigned char>(line.raw[valueEnd - 1])))
                --valueEnd;
            line.valueBegin = begin;
            line.valueEnd = valueEnd;
        }
        line.section = section;
        lines.push_back(std::move(line));
    }
    return lines;
}

const SettingRow* FindKey(std::string_view section, std::string_view key) {
    for (const SettingRow& row : SettingRows())
        if (row.section == section && row.key == key) return &row;
    return nullptr;
}

bool KnownSection(std::string_view section) {
    const std::span<const SettingRow> rows = SettingRows();
    return std::any_of(rows.begin(), rows.end(),
                       [&](const SettingRow& row) { return row.section == section; });
}

// What makes a text no settings file at all: binary bytes.
bool Binary(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 && c != '\t' && c != '\r' && c != '\n';
    });
}

// What the game writes: each value's section, key and text, in the order of a new file.
// A key list with no key is written by removing its line: its defaults then play the role.
struct Owned {
    std::string_view section;
    std::string_view key;
    std::string text;
    bool remove = false;
    bool written = false;
};

std::string ListText(const SettingRow& row, const Settings& s, const KeyNamer& keyNames) {
    const std::vector<std::int32_t>& list = s.keys.*row.keys;
    if (!row.pad) return keyNames(list);
    std::string text;
    for (const std::int32_t button : list) {
        if (button < 0 || button >= kPadButtons) continue;
        if (!text.empty()) text += ", ";
        text += PadButtonKey(static_cast<PadButton>(button));
    }
    return text;
}

std::vector<Owned> OwnedValues(const Settings& s, const KeyNamer* keyNames = nullptr) {
    std::vector<Owned> owned;
    for (const SettingRow& row : SettingRows()) {
        if (row.write) {
            owned.push_back({row.section, row.key, row.write(s)});
        } else if (keyNames && row.keys) {
            const bool none = (s.keys.*row.keys).empty();
            owned.push_back({row.section, row.key, none ? "" : ListText(row, s, *keyNames), none});
        }
    }
    return owned;
}

}  // namespace

std::string SettingsPath() {
    const std::string dir = SettingsDir();
    return dir.empty() ? std::string() : JoinPath(dir, "settings.ini");
}

LoadedSettings LoadSettings(const std::string& path, const KeyLookup& keys) {
    LoadedSettings loaded;
    const SmallFile file = ReadSmallFile(path, kMaxFileBytes);
    if (!file.text) {
        if (!file.error.empty())
            loaded.warnings.push_back(Escaped("ignoring " + path + ": " + file.error));
        return loaded;
    }
    if (Binary(*file.text)) {
        loaded.warnings.push_back("ignoring " + path + ": not a text file");
        return loaded;
    }
    int number = 0;
    std::string warnedSection;  // an unknown section is named once, not for each of its keys
    for (const Line& line : Scan(*file.text)) {
        ++number;
        std::string problem = line.problem;
        if (line.header && !KnownSection(line.section)) {
            problem = "unknown section [" + line.section.substr(0, 40) + "]";
        } else if (line.entry && line.section.empty()) {
            problem = "'" + line.key.substr(0, 40) + "' is outside a section";
        } else if (line.entry && KnownSection(line.section)) {
            if (const SettingRow* row = FindKey(line.section, line.key)) {
                const std::optional<std::string> bad = row->read(
                    loaded.settings,
                    line.raw.substr(line.valueBegin, line.valueEnd - line.valueBegin), keys);
                if (!bad) loaded.given.insert(row->id);
                if (bad)
                    problem = bad->empty()
                                  ? std::string(row->key) + " must be " + std::string(row->expects)
                                  : *bad;
            } else {
                problem = "unknown key '" + line.key.substr(0, 40) + "' in [" + line.section + "]";
            }
        }
        if (!problem.empty())
            loaded.warnings.push_back(Escaped(path + ":" + std::to_string(number) + ": " + problem +
                                              "; the line is skipped"));
    }
    return loaded;
}

std::string FormatSettings(const Settings& settings) {
    std::string text =
        "# Hopla's settings; the game rewrites the [window] and [sound] values, and the [keys]\n"
        "# when they are changed from the menu.\n";
    std::string_view section;
    for (const Owned& value : OwnedValues(settings)) {
        if (value.section != section) {
            section = value.section;
            text += "[" + std::string(section) + "]\n";
        }
        text += std::string(value.key) + " = " + value.text + "\n";
    }
    return text;
}

std::string UpdateSettingsText(std::string_view text, const Settings& settings,
                               const KeyNamer* keyNames) {
    // A new file starts as FormatSettings makes it; the key lists then go below.
    const std::string fresh = Trim(text).empty() ? FormatSettings(settings) : std::string();
    if (!fresh.empty()) {
        if (!keyNames) return fresh;
        text = fresh;
    }
    std::vector<Owned> values = OwnedValues(settings, keyNames);
    std::vector<std::string> out;
    // Where each section's first run of lines ends (after its last line that is not blank).
    std::vector<std::pair<std::string, std::size_t>> sectionEnds;
    std::string current;
    bool firstRun = false;
    for (const Line& line : Scan(text)) {
        std::string raw(line.raw);
        bool removed = false;
        if (line.entry)
            for (Owned& value : values)
                if (line.section == value.section && line.key == value.key) {
                    raw.replace(line.valueBegin, line.valueEnd - line.valueBegin, value.text);
                    value.written = true;
                    removed = value.remove;
                }
        if (removed) continue;
        out.push_back(std::move(raw));
        if (line.header) {
            current = line.section;
            firstRun = std::none_of(sectionEnds.begin(), sectionEnds.end(),
                                    [&](const auto& end) { return end.first == current; });
            if (firstRun) sectionEnds.emplace_back(current, out.size());
        } else if (firstRun && !Trim(line.raw).empty()) {
            sectionEnds.back().second = out.size();
        }
    }
    // The missing values: after the last line of their section's first run, or in a new
    // section at the end.
    std::vector<std::vector<std::string>> after(out.size() + 1);  // by the line they follow
    std::string appended;
    for (const Owned& value : values) {
        if (value.written || value.remove) continue;
        const std::string entry = std::string(value.key) + " = " + value.text;
        const auto end = std::find_if(sectionEnds.begin(), sectionEnds.end(),
                                      [&](const auto& e) { return e.first == value.section; });
        if (end != sectionEnds.end()) {
            after[end->second].push_back(entry);
        } else {
            if (appended.find("[" + std::string(value.section) + "]") == std::string::npos)
                appended += "[" + std::string(value.section) + "]\n";
            appended += entry + "\n";
        }
    }
    std::string result = text.starts_with("\xEF\xBB\xBF") ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i <= out.size(); ++i) {
        if (i > 0) result += out[i - 1] + "\n";
        for (const std::string& entry : after[i]) result += entry + "\n";
    }
    return result + appended;
}

std::optional<std::string> SaveSettings(const std::string& path, const Settings& settings,
                                        const KeyNamer* keyNames) {
    if (path.empty()) return "no place for settings (neither XDG_CONFIG_HOME nor HOME is set)";
    const std::string target = LinkTarget(path);
    // A file that is no settings file at all (binary, too large) was ignored and is written anew.
    const SmallFile file = ReadSmallFile(target, kMaxFileBytes);
    const std::string_view old = file.text && !Binary(*file.text) ? *file.text : std::string_view();
    return ReplaceFile(target, UpdateSettingsText(old, settings, keyNames));
}

}  // namespace hopla
