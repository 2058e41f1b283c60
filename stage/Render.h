// Drawing the playfield: the back buffer from the grid, tiles from the sheet, full frames.
#pragma once

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Rebuilds Back from TileGrid (columns 0..19, rows 0..14) and presents it through ScreenOn.
// Uses Tick and LoopX as its row and column counters.
void MakeScreen(Form1& form, GameState& state);

// Copies the sheet cell of tile `code` (1..6) into Back at cell (x, y).
void PutChip(Form1& form, int x, int y, int code);

// Moves the ball one step (TrailX(0) += SpeedX, TrailY(0) -= 1.5 x SpeedY), composes Back plus
// the two newest trail segments in Dark and copies the frame to Display.
void ScreenOn(Form1& form, GameState& state);

}  // namespace hopla
