// The game's key codes (Windows virtual-key codes) and mouse buttons: the one place they are
// spelt, for the handlers and for everyone above who hands the game its input.
#pragma once

namespace hopla {

// Key codes, as Game::keyDown and keyUp take them: 0..kLastKeyCode, the entries of the game's
// key table. Every code counts (a key held is remembered); the handlers act on Space, Left and
// Right, the shell reads the others.
inline constexpr int kLastKeyCode = 255;
inline constexpr int kVkEnter = 13;  // skips the opening; chooses in the menu
inline constexpr int kVkSpace = 32;  // back to the title room
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;

// Mouse buttons, as Game::mouseDown takes them.
inline constexpr int kMouseLeft = 1;   // faster
inline constexpr int kMouseRight = 2;  // slower
inline constexpr int kMouseMiddle = 4;

// Whether `code` is one of the three mouse buttons (3 is none: the codes are bits).
constexpr bool IsMouseButton(int code) {
    return code == kMouseLeft || code == kMouseRight || code == kMouseMiddle;
}

}  // namespace hopla
