// Timer3: the straight flight out of a launcher, until a wall, the exit or the brake.
#include "play/Flight.h"

#include "form/Sound.h"
#include "play/BallStep.h"
#include "play/BallTick.h"
#include "stage/Progression.h"
#include "stage/Render.h"

namespace hopla {

void Timer3_Timer(Form1& form, GameState& s) {
    MoveAndDrawBall(form, s);  // SpeedY is 0 throughout: no gravity, no drop

    s.WallHitSpeed = 0;
    // One speed ahead; left of the window reads as solid, so a flight to the left stops there.
    s.ProbeColor = form.Display.point(s.TrailX[0] + s.SpeedX, s.TrailY[0]);
    if (IsSolid(s.ProbeColor)) {
        s.SpeedX = static_cast<float>(s.SpeedX / 5.0);
        s.BallState = kBallInPlay;
        form.Timer3.setInterval(0);
        form.Timer1.setInterval(s.BallInterval);  // the ball drops from here under Timer1
        WallBounce(s);
        Play(form, s, "junp.wav", SoundMode::NoWait);
        ScreenOn(form, s);
    }

    if (s.TrailX[0] > kExitLine) {
        s.BallState = kBallInPlay;
        form.Timer3.setInterval(0);
        NextStage(form, s);
    }
}

}  // namespace hopla
