// The ending after stage 20: dissolve, reveal, ball run, typed messages, final score.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Etimer tick: runs one tick of step EndPhase (read once at the start of the tick).
void Etimer_Timer(Form1& form, GameState& state);

}  // namespace hopla
