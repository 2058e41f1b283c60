// Translation of SDL key codes and mouse buttons into the Windows codes the game's handlers use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/KeyBindings.h"

namespace hopla {

// The Windows virtual-key code of an SDL key code (an SDL_Keycode value), or none for a key
// that has no such code. Letters and digits follow the keyboard layout, as SDL key codes do;
// left and right Shift, Ctrl and Alt give the plain 16, 17 and 18 the window's key events carry
// (the window's InputRouter keeps them from the game).
std::optional<int> VirtualKeyFromSdl(std::int32_t sdlKey);

// Left, A and Keypad 4 steer left; Right, D and Keypad 6 steer right; Space goes back.
KeyBindings DefaultKeyBindings();
// `bindings` with each role that has no key or button given its default keys or buttons.
KeyBindings WithDefaults(KeyBindings bindings);

// The game's key code of an SDL key under `bindings` (WithDefaults): a bound key gives its role's
// code (left before right before back when bound twice); a key whose own code is one of those three
// (the arrows, Space) gives nothing when no role binds it; every other key its VirtualKeyFromSdl.
std::optional<int> GameKeyOf(const KeyBindings& bindings, std::int32_t sdlKey);

// The SDL key code of an SDL key name ("Left", "A", "Keypad 4", "Space"; SDL_GetKeyName's names,
// any case), or none for a name SDL does not know.
std::optional<std::int32_t> KeyFromName(std::string_view name);

// The keys' names as SDL gives them, joined by ", " ("Left, A, Keypad 4"); for the menu's keys
// page.
std::string KeyNames(const std::vector<std::int32_t>& keys);

// The window toolkit's code of an SDL mouse button: 1 left, 2 right, 4 middle; none for the
// extra buttons.
std::optional<int> MouseButtonFromSdl(int sdlButton);

}  // namespace hopla
