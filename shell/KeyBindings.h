// Which keys of the keyboard and which buttons of a controller play the game's three keys, as
// the settings file names them, and the rules for changing them from the menu.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hopla {

// A controller's buttons, in SDL's order of its game-controller buttons (the frontend converts
// by number). The names are by place: South is Xbox's A, PlayStation's Cross.
enum class PadButton {
    South,
    East,
    West,
    North,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    Misc,
    Paddle1,
    Paddle2,
    Paddle3,
    Paddle4,
    Touchpad,
};
inline constexpr int kPadButtons = static_cast<int>(PadButton::Touchpad) + 1;

// The keys that play the game's Left, Right and Space (back to the title room), as the window
// toolkit's key codes, and the controller buttons that do (PadButton values). A role with no
// key or button is played by its defaults; the settings file's [keys] section names them.
struct KeyBindings {
    std::vector<std::int32_t> left, right, back;
    std::vector<std::int32_t> padLeft = {}, padRight = {}, padBack = {};
    bool operator==(const KeyBindings&) const = default;
};

// The controller's defaults: the d-pad steers, Start and Back go back to the title room.
void WithPadDefaults(KeyBindings& bindings);

// The window toolkit's key code of a key name ("Left", "A", "Keypad 4"), or none for a name it
// does not know; handed to the settings reader by the window.
using KeyLookup = std::function<std::optional<std::int32_t>(std::string_view name)>;
// The names of keys, joined by ", ", as the settings file and the Keys page write them.
using KeyNamer = std::function<std::string(const std::vector<std::int32_t>& keys)>;

// A button's name in the settings file ("dpleft", "start", "x"), and back (any case).
std::string_view PadButtonKey(PadButton button);
std::optional<PadButton> PadButtonFromKey(std::string_view key);

// The game's three roles, as the Keys page offers them for a new key or button.
enum class Role { Left, Right, Back };

// The list of keys (or, `pad`, buttons) that play `role`.
using KeyList = std::vector<std::int32_t> KeyBindings::*;
KeyList ListOf(Role role, bool pad);

// `bindings` (their defaults filled in) with `role` played by the key `code` alone (`pad`: by the
// controller's button `code` alone), or why not: a button with a job of its own in the menu or
// the editor, or a key or button that already plays another role, which would leave one way
// without a key. `names` names keys for the refusal.
std::variant<KeyBindings, std::string> Rebind(const KeyBindings& bindings, Role role, bool pad,
                                              std::int32_t code, const KeyNamer& names);

}  // namespace hopla
