// The remembered window and sound choices and the key bindings in
// $XDG_CONFIG_HOME/hopla/settings.ini, read line by line (a bad line is skipped, the rest kept)
// and rewritten keeping the player's lines; the file read and written through the platform.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "shell/KeyBindings.h"
#include "shell/SettingRows.h"

namespace hopla {

// Where the settings live: settings.ini in the platform's SettingsDir; empty when the system
// offers no place. The frontend asks once at start.
std::string SettingsPath();

struct LoadedSettings {
    Settings settings;        // the defaults for what the file does not set well
    std::set<Setting> given;  // what the file does set well
    std::vector<std::string>
        warnings;  // one line each, for the standard error, control bytes escaped
};

// Reads the file. A missing or empty file gives the defaults quietly. A file that cannot be
// read or is not a small text file is ignored as a whole, with one warning. Otherwise each line
// that is not a known key with a good value (an unknown section or key, a bad value, a line
// that is no setting or too long) is warned about, naming its line, and skipped; the rest
// counts. Key names are looked up with `keys`.
LoadedSettings LoadSettings(const std::string& path, const KeyLookup& keys);

// A new file's text for these settings: the [window] and [sound] sections (the keys are the
// defaults until the player writes a [keys] section).
std::string FormatSettings(const Settings& settings);

// `text` (the file as it is) with the values the game writes ([window] and [sound], and with
// `keyNames` the [keys] too): their lines get the new values, missing ones are added to their
// section (or a new section at the end), a key list with no key loses its line; every other
// line, comments, key bindings (without `keyNames`) and unknown lines included, stays as it was.
std::string UpdateSettingsText(std::string_view text, const Settings& settings,
                               const KeyNamer* keyNames = nullptr);

// Writes the window and sound choices (and with `keyNames` the key bindings) into the file (read
// anew, so the player's other lines stay) through a temporary file and a rename, so a reader never
// sees half of it; a file that is a symbolic link is replaced where the link points, so it stays a
// link. Creates the missing directories. Returns what went wrong, or nothing.
std::optional<std::string> SaveSettings(const std::string& path, const Settings& settings,
                                        const KeyNamer* keyNames = nullptr);

}  // namespace hopla
