// Which keys of the keyboard play the game's three keys, as the settings file names them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace hopla {

// The keys that play the game's Left, Right and Space (back to the title room), as the window
// toolkit's key codes. A role with no key is played by its default keys (the window's
// DefaultKeyBindings); the settings file's [keys] section names them.
struct KeyBindings {
    std::vector<std::int32_t> left, right, back;
    bool operator==(const KeyBindings&) const = default;
};

// The window toolkit's key code of a key name ("Left", "A", "Keypad 4"), or none for a name it
// does not know; handed to the settings reader by the window.
using KeyLookup = std::function<std::optional<std::int32_t>(std::string_view name)>;

}  // namespace hopla
