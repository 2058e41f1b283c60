// The ball motion tick of normal play.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Timer1 tick: gravity and drive, move and draw on Display, probe Display's colours below or
// above and beside the ball, bounce, then the loss and exit tests.
void Timer1_Timer(Form1& form, GameState& state);

// Whether a colour read from Display stops the ball: anything but black and white, and -1
// (outside the picture).
constexpr bool IsSolid(int color) {
    return color != 0 && color != 0xFFFFFF;
}

}  // namespace hopla
