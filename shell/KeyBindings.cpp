// The controller's default buttons, their names in the settings file, and changing a binding.
#include "shell/KeyBindings.h"

#include <algorithm>
#include <array>

#include "shell/ButtonNames.h"
#include "shell/SettingRows.h"

namespace hopla {
namespace {

// SDL's own names of the buttons, as its controller mappings write them.
constexpr std::array<std::string_view, kPadButtons> kKeys = {"a",
                                                             "b",
                                                             "x",
                                                             "y",
                                                             "back",
                                                             "guide",
                                                             "start",
                                                             "leftstick",
                                                             "rightstick",
                                                             "leftshoulder",
                                                             "rightshoulder",
                                                             "dpup",
                                                             "dpdown",
                                                             "dpleft",
                                                             "dpright",
                                                             "misc1",
                                                             "paddle1",
                                                             "paddle2",
                                                             "paddle3",
                                                             "paddle4",
                                                             "touchpad"};

// Buttons the menu, the editor or the window keep for themselves.
bool HasOwnJob(PadButton button) {
    switch (button) {
        case PadButton::South:   // choose
        case PadButton::East:    // back out
        case PadButton::North:   // the editor's start
        case PadButton::Guide:   // the menu
        case PadButton::DpadUp:  // the menu's rows
        case PadButton::DpadDown:
        case PadButton::LeftShoulder:  // faster, slower
        case PadButton::RightShoulder:
            return true;
        default:
            return false;
    }
}

}  // namespace

void WithPadDefaults(KeyBindings& b) {
    const auto code = [](PadButton button) { return static_cast<std::int32_t>(button); };
    if (b.padLeft.empty()) b.padLeft = {code(PadButton::DpadLeft)};
    if (b.padRight.empty()) b.padRight = {code(PadButton::DpadRight)};
    if (b.padBack.empty()) b.padBack = {code(PadButton::Start), code(PadButton::Back)};
}

std::string_view PadButtonKey(PadButton button) {
    return kKeys[static_cast<std::size_t>(button)];
}

std::optional<PadButton> PadButtonFromKey(std::string_view key) {
    const std::string lower = Lower(key);
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        if (kKeys[i] == lower) return static_cast<PadButton>(i);
    return std::nullopt;
}

KeyList ListOf(Role role, bool pad) {
    constexpr KeyList kKeys[] = {&KeyBindings::left, &KeyBindings::right, &KeyBindings::back};
    constexpr KeyList kPad[] = {&KeyBindings::padLeft, &KeyBindings::padRight,
                                &KeyBindings::padBack};
    return (pad ? kPad : kKeys)[static_cast<std::size_t>(role)];
}

std::variant<KeyBindings, std::string> Rebind(const KeyBindings& bindings, Role role, bool pad,
                                              std::int32_t code, const KeyNamer& names) {
    KeyBindings next = bindings;
    const std::string name =
        pad ? PadButtonName(static_cast<PadButton>(code), InputFamily::Xbox) : names({code});
    if (pad && (code < 0 || code >= kPadButtons))
        return std::string("That button is not known to the game");
    if (pad && HasOwnJob(static_cast<PadButton>(code)))
        return name + " has a job of its own; choose another button";
    constexpr std::array<const char*, 3> jobs = {"steers left", "steers right",
                                                 "goes back to the title room"};
    for (const Role other : {Role::Left, Role::Right, Role::Back}) {
        const std::vector<std::int32_t>& list = next.*ListOf(other, pad);
        if (other != role && std::find(list.begin(), list.end(), code) != list.end())
            return name + " already " + jobs[static_cast<std::size_t>(other)] +
                   "; change that one first";
    }
    next.*ListOf(role, pad) = {code};
    return next;
}

}  // namespace hopla
