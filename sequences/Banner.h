// The letter-by-letter banner of the title word and of "Game Over".
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Timer6 tick: types TypingSteps(TypingRow, 0..4) into Label1 on ticks 4 to 8, clears it on
// tick 14 and on tick 16 draws the stage and starts Timer1.
void Timer6_Timer(Form1& form, GameState& state);

}  // namespace hopla
