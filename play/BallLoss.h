// A ball that has fallen out through the floor.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Called by the Timer1 tick when the ball is below y = 552: ends the application on the title
// stage, otherwise retries the stage or, after the last ball, sets up game over.
void Otita(Form1& form, GameState& state);

}  // namespace hopla
