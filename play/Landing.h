// What a special tile does when the ball lands on it.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Called by the Timer1 tick on a landing, after it set SpeedY to 8: breakable blocks break,
// springs throw the ball high, launchers catch it.
void TateTokusyu(Form1& form, GameState& state);

}  // namespace hopla
