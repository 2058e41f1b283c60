// The step both ball ticks begin with: shift the trail, move, draw straight onto Display.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Shifts the trail, moves point 0 by SpeedX and 1.8 x SpeedY (upwards), draws the newest
// segment in BallColor and blacks out the oldest, both on Display with its 3-pixel pen.
void MoveAndDrawBall(Form1& form, GameState& state);

// Bounces off a wall: the speed at contact goes to WallHitSpeed, SpeedX turns back at 0.7 of
// it and the ball is pushed 15 pixels in the new direction.
void WallBounce(GameState& state);

}  // namespace hopla
