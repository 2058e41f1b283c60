// The title set-up, two seconds after start-up.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Timer2's only tick: black Display, the launcher's dark columns on the sheet, the two title
// captions, then the banner (Timer6).
void Timer2_Timer(Form1& form, GameState& state);

}  // namespace hopla
