// The ball's trail: its last four positions, newest first.
#pragma once

#include "form/GameState.h"

namespace hopla {

// Moves trail points 2, 1, 0 down to 3, 2, 1, counting with the shared LoopX, which is left
// at 0. Point 0 keeps its value; the caller then advances it.
inline void ShiftTrail(GameState& s) {
    for (s.LoopX = 3; s.LoopX >= 1; --s.LoopX) {
        s.TrailX[s.LoopX] = s.TrailX[s.LoopX - 1];
        s.TrailY[s.LoopX] = s.TrailY[s.LoopX - 1];
    }
}

}  // namespace hopla
