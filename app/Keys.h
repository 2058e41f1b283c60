// The input the game takes: Windows virtual-key codes and the window toolkit's mouse buttons.
#pragma once

namespace hopla {

// Key codes, as Game::keyDown and keyUp take them: 0..kLastKeyCode, the entries of the game's
// key table. Every code counts (a key held is remembered); these are the ones it acts on.
inline constexpr int kLastKeyCode = 255;
inline constexpr int kVkSpace = 32;  // back to the title room
inline constexpr int kVkLeft = 37;
inline constexpr int kVkRight = 39;

// Mouse buttons, as Game::mouseDown takes them.
inline constexpr int kMouseLeft = 1;   // faster
inline constexpr int kMouseRight = 2;  // slower
inline constexpr int kMouseMiddle = 4;

// Whether `code` is one of the three mouse buttons (3 is none: the codes are bits).
constexpr bool IsMouseButton(int code) {
    return code == kMouseLeft || code == kMouseRight || code == kMouseMiddle;
}

}  // namespace hopla
