// The steps of the ending, one Etimer tick each; Etimer_Timer picks the step from EndPhase.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Steps of the ending as EndPhase counts them; 9 is never used.
enum EndingSteps : int {
    kEndDissolve = 0,
    kEndReveal = 1,
    kEndBallRun = 2,
    kEndFirstMessage = 3,
    kEndLastMessage = 7,
    kEndFinalScreen = 8,
    kEndOver = 10,
};

// Step 0: 25 cells of Display to black, the next tick's 25 marked grey, a click. After 19
// ticks the ending scene goes into stage 0's map and TileGrid, and Back is cleared.
void EndingDissolveTick(Form1& form, GameState& state);
// Step 1: 25 scene cells drawn into Back, the next tick's 25 flashed white, Back shown.
// After 19 ticks the labels are hidden, the scene becomes Display's background and the ball
// is put at the left edge.
void EndingRevealTick(Form1& form, GameState& state);
// Step 2: the ball bounces along the horizon; when its oldest point passes x = 800 the
// messages begin with Label1 set up transparent over the scene.
void EndingBallRunTick(Form1& form, GameState& state);
// Steps 3..7: one more character of the current message (TypingSteps(0, 0)) in Label1.
void EndingMessageTick(Form1& form, GameState& state, int step);
// Step 8: the score and its code printed over the scene; the ending is over.
void EndingFinalScreen(Form1& form, GameState& state);

}  // namespace hopla
