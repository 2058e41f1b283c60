// Moving and drawing the ball on Display, and the wall bounce shared by both ball ticks.
#include "play/BallStep.h"

#include "stage/Trail.h"
#include "toolkit/Color.h"

namespace hopla {

void MoveAndDrawBall(Form1& form, GameState& s) {
    ShiftTrail(s);
    s.TrailX[0] += s.SpeedX;
    s.TrailY[0] -= 1.8 * s.SpeedY;
    form.Display.line(s.TrailX[1], s.TrailY[1], s.TrailX[0], s.TrailY[0],
                      PaletteColor(s.BallColor));
    form.Display.line(s.TrailX[2], s.TrailY[2], s.TrailX[3], s.TrailY[3], PaletteColor(0));
}

void WallBounce(GameState& s) {
    s.WallHitSpeed = s.SpeedX;
    s.SpeedX = static_cast<float>(-0.7 * s.SpeedX);
    if (s.SpeedX >= 0)
        s.TrailX[0] += 15;
    else
        s.TrailX[0] -= 15;
}

}  // namespace hopla
