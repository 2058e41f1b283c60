// MakeScreen, PutChip and ScreenOn: the back buffer, the tiles and the presented frame.
#include "stage/Render.h"

#include "stage/Trail.h"
#include "toolkit/Color.h"

namespace hopla {

void MakeScreen(Form1& form, GameState& s) {
    form.Back.fillBox(0, 0, kScreenWidth, kScreenHeight, PaletteColor(0));
    for (s.Tick = 0; s.Tick <= 14; ++s.Tick)
        for (s.LoopX = 0; s.LoopX <= 19; ++s.LoopX)
            if (s.TileGrid[s.LoopX][s.Tick] != kEmpty)
                PutChip(form, s.LoopX, s.Tick, s.TileGrid[s.LoopX][s.Tick]);
    ScreenOn(form, s);
}

void PutChip(Form1& form, int x, int y, int code) {
    // A code without a sheet cell (7..9) points past the sheet's right edge, and the clipped
    // copy draws nothing.
    Picture::Copy(form.Back, kTileSize * x, kTileSize * y, kTileSize, kTileSize, form.Chip,
                  kTileSize * (code - 1), 0);
}

void ScreenOn(Form1& form, GameState& s) {
    Picture::Copy(form.Dark, 0, 0, kScreenWidth, kScreenHeight, form.Back, 0, 0);
    ShiftTrail(s);
    s.TrailX[0] += s.SpeedX;
    s.TrailY[0] -= 1.5 * s.SpeedY;
    // The frame's lines take their end points in single precision.
    auto segment = [&](int from, int to, Color color) {
        form.Dark.line(static_cast<float>(s.TrailX[from]), static_cast<float>(s.TrailY[from]),
                       static_cast<float>(s.TrailX[to]), static_cast<float>(s.TrailY[to]), color);
    };
    for (s.LoopX = 0; s.LoopX <= 2; ++s.LoopX)
        segment(s.LoopX + 1, s.LoopX, PaletteColor(s.BallColor));
    // The oldest segment goes black again, last, so a ball standing on one point is not seen.
    segment(2, 3, PaletteColor(0));
    Picture::Copy(form.Display, 0, 0, kScreenWidth, kScreenHeight, form.Dark, 0, 0);
}

}  // namespace hopla
