// The player's keys and mouse buttons.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"
#include "play/Keys.h"

namespace hopla {

// KeyDirection(key): -1 Left, +1 Right, 0 for every other key; a code outside the table's
// 0..255 (never sent by the window) counts as 0 too.
inline int KeyDirectionOf(const GameState& state, int keyCode) {
    return keyCode >= 0 && keyCode < static_cast<int>(state.KeyDirection.size())
               ? state.KeyDirection[keyCode]
               : 0;
}

// Key press (auto-repeats included) with its virtual-key code; shift is not used.
void Form_KeyDown(Form1& form, GameState& state, int keyCode, int shift);
// Key release: clears HeldKey whatever the key.
void Form_KeyUp(Form1& form, GameState& state, int keyCode, int shift);
// Mouse press on Display: button 1 left (faster), 2 right (slower); after the ending any
// press ends the application. Position and shift are not used.
void Display_MouseDown(Form1& form, GameState& state, int button, int shift, float x, float y);

}  // namespace hopla
