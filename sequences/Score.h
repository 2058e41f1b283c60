// The score total shown at every stage introduction and at the end, and its four-letter code.
#pragma once

#include <string>

#include "form/GameState.h"

namespace hopla {

// Score := the sum over stages 0..StageNo of Int(StageTime(i) / 10), plus 30 for each ball
// lost (kBallsPerGame - BallsLeft). Summed in 32 bits, so a total above 32767 stays as it is.
void SumScore(GameState& state);

// Four lower-case letters, the base-26 digits of `score` from the least significant ('a' is
// 0). Only meaningful for 0 <= score < 10000, the only scores the ending encodes.
std::string ScoreCodeOf(int score);

}  // namespace hopla
