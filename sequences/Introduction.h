// The stage introduction: the band wipe and what follows it.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Timer4 tick: one black band; on the 51st tick the captions and score (ordinary stage), the
// title stage's loading (BallState 3) or the game-over banner (BallState 4).
void Timer4_Timer(Form1& form, GameState& state);

}  // namespace hopla
