// TateTokusyu: the tile under a landing ball breaks, throws it high or catches it.
#include "play/Landing.h"

#include "form/Sound.h"
#include "toolkit/Rounding.h"

namespace hopla {

namespace {

// A cell outside the grid's index ranges reads as Empty.
int CodeAt(const GameState& s, int column, int row) {
    if (column < 0 || column >= static_cast<int>(s.TileGrid.size())) return kEmpty;
    if (row < 0 || row >= static_cast<int>(s.TileGrid[0].size())) return kEmpty;
    return s.TileGrid[column][row];
}

}  // namespace

void TateTokusyu(Form1& form, GameState& s) {
    // The row below the one holding the point 1.5 x SpeedY (12 pixels) above the ball.
    const int column = FloorToInt(s.TrailX[0] / kTileSize);
    const int row = FloorToInt((s.TrailY[0] - 1.5 * s.SpeedY) / kTileSize) + 1;
    switch (CodeAt(s, column, row)) {
        case kEmpty:  // sunk through a block onto nothing: stop and turn round
            s.SpeedY = 0;
            s.SpeedX = -s.SpeedX;
            break;
        case kBreakable:
            // Painted black in the back buffer only: the grid keeps the block until the stage
            // is loaded again, but the ball, judging by colour, passes through from now on.
            Play(form, s, "brake.wav", SoundMode::NoWait);
            form.Back.fillBox(kTileSize * column, kTileSize * row, kTileSize * (column + 1),
                              kTileSize * (row + 1), PaletteColor(0));
            s.SpeedY = 7;
            break;
        case kSpring:
            Play(form, s, "jump.wav", SoundMode::NoWait);
            s.SpeedY = 16;
            break;
        case kLauncher:
            Play(form, s, "kabe.wav", SoundMode::NoWait);
            s.BallState = kBallCaught;
            s.LauncherY = kTileSize * row + kTileSize / 2;
            s.BallColor = 0;
            s.LauncherX = static_cast<std::int16_t>(kTileSize * column + kTileSize / 2);
            Picture::Copy(form.Display, 0, 0, kScreenWidth, kScreenHeight, form.Back, 0, 0);
            form.Timer1.setInterval(0);
            break;
        default:  // walls and signs: the caller's bounce stands
            break;
    }
}

}  // namespace hopla
