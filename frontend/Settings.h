// The remembered window and sound choices in $XDG_CONFIG_HOME/hopla/settings.ini, parsed by
// libinih, the file read and written through the platform; no SDL.
#pragma once

#include <optional>
#include <string>

#include "frontend/Scaling.h"

namespace hopla {

// The loudest volume; the menu steps by a tenth of it.
inline constexpr int kMaxVolume = 100;

struct Settings {
    std::optional<int> scale;  // none: the largest that fits the screen ("auto")
    bool fullscreen = false;
    ScalingMode scaling = ScalingMode::Fit;  // how the whole screen (or a resized window) is filled
    int volume = kMaxVolume;                 // 0..kMaxVolume
    bool pauseWhenUnfocused = true;          // the game pauses while its window is not active
    bool operator==(const Settings&) const = default;
};

// Where the settings live: settings.ini in the platform's SettingsDir; empty when the system
// offers no place. The frontend asks once at start.
std::string SettingsPath();

struct LoadedSettings {
    Settings settings;  // the defaults when the file was not usable
    // One line about an unusable file, its control bytes escaped; empty when it was fine or absent.
    std::string warning;
};

// Reads the file. A missing or empty file gives the defaults quietly; one that cannot be read,
// is not a small text file, or holds anything but the known keys with valid values is ignored
// as a whole, with a warning.
LoadedSettings LoadSettings(const std::string& path);

// The file's text for these settings.
std::string FormatSettings(const Settings& settings);

// Writes the file anew (through a temporary file and a rename, so a reader never sees half of
// it), creating its directories. Returns what went wrong, or nothing.
std::optional<std::string> SaveSettings(const std::string& path, const Settings& settings);

}  // namespace hopla
