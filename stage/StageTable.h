// Filling the stage table at start-up and loading one stage's rows into the tile grid.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"
#include "stage/StageData.h"

namespace hopla {

// Start-up's second half: ball speed and colour, the table, the title stage in the grid and
// the ball at its start. Called once by Form_Load after StageNo, BallsLeft, BallInterval.
void Hsyoki(Form1& form, GameState& state);

// Fills columns 0..19, rows 0..14 of TileGrid from the rows of `stage`: character c + 1 of a
// row is the code of column c; a missing or non-digit character reads as 0. Uses Tick and
// LoopX as row and column counters and leaves them at 15 and 20. Draws nothing.
void LoadStageGrid(GameState& state, int stage);

// Puts all four trail points at the start point of `stage`.
void PutBallAtStart(GameState& state, int stage);

}  // namespace hopla
