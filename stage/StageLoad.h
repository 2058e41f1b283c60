// The stage loading timer: after the introduction, loads and draws the stage and starts play.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Timer5 tick (300 ms). Counts in Tick; on the tick that brings Tick to 7 it loads StageNo,
// shows the ball, draws the stage and starts Timer1. The introduction starts it with Tick 1
// (load on the 6th tick) or 5 (on the 2nd).
void Timer5_Timer(Form1& form, GameState& state);

}  // namespace hopla
