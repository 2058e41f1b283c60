// The straight flight of a ball shot out of a launcher.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Timer3 tick: moves the ball SpeedX per tick without gravity until something solid (normal
// play takes over), the exit line (next stage) or the brake key.
void Timer3_Timer(Form1& form, GameState& state);

}  // namespace hopla
