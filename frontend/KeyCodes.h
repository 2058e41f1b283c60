// Translation of SDL key codes and mouse buttons into the Windows codes the game's handlers use.
#pragma once

#include <cstdint>
#include <optional>

namespace hopla {

// The Windows virtual-key code of an SDL key code (an SDL_Keycode value), or none for a key
// that has no such code. Letters and digits follow the keyboard layout, as SDL key codes do;
// left and right Shift, Ctrl and Alt give the plain 16, 17 and 18 the window's key events carry
// (the window's InputRouter keeps them from the game).
std::optional<int> VirtualKeyFromSdl(std::int32_t sdlKey);

// The window toolkit's code of an SDL mouse button: 1 left, 2 right, 4 middle; none for the
// extra buttons.
std::optional<int> MouseButtonFromSdl(int sdlButton);

}  // namespace hopla
