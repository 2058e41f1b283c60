// Leaving a stage to the right: a new game, the next stage, or the ending after stage 20.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Called by the ball ticks (Timer1, Timer3) as the last thing of a tick whose ball passed the
// exit line. Puts the ball hidden at the next stage's start and starts the introduction
// (Timer4), or, after stage 20, stops every other timer and starts the ending (Etimer).
void NextStage(Form1& form, GameState& state);

// A new game, as leaving the title room starts it: stage 0, 9 balls, the stage times cleared.
void NewGame(GameState& state);

// What every stage change does before its introduction: the ball hidden and still at the start
// of `stage`, Tick 0, and a frame shown (Back still holds the stage being left).
void ParkBallAtStart(Form1& form, GameState& state, int stage);

// Starts the stage introduction (Timer4) at IntroductionInterval(BallInterval) and stops the
// ball timer. The caller has set BallState (0, 3 or 4) and Tick 0.
void StartIntroduction(Form1& form, GameState& state);

// The stage introduction's interval: BallInterval / 6 rounded half to even (30 gives 5).
int IntroductionInterval(int ballInterval);

}  // namespace hopla
