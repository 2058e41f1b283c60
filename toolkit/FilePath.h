// File names as the game passes them around, UTF-8 in a std::string, made into paths.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hopla {

// The path that UTF-8 `name` names, whatever the system's own narrow encoding: on Windows the
// standard library would read a std::string's bytes in the ANSI code page, not as UTF-8. Every
// reader and writer of a file named by the player (demos, stage files, scripts, waves) opens it
// through this.
inline std::filesystem::path PathFromUtf8(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// `name` inside folder `dir`, both UTF-8, joined with the system's own separator ("/" on Linux,
// "\\" on Windows, whose folders the platform names with it).
inline std::string JoinPath(const std::string& dir, std::string_view name) {
    const std::u8string joined = (PathFromUtf8(dir) / PathFromUtf8(name)).u8string();
    return std::string(joined.begin(), joined.end());
}

}  // namespace hopla
