// Timer1: one step of the ball in normal play, with colour-probed contacts.
#include "play/BallTick.h"

#include <cstdint>
#include <limits>

#include "form/Sound.h"
#include "play/BallLoss.h"
#include "play/BallStep.h"
#include "play/Input.h"
#include "play/Landing.h"
#include "stage/Progression.h"
#include "stage/Render.h"

namespace hopla {

void Timer1_Timer(Form1& form, GameState& s) {
    // The stage's tick count stops at the largest 16-bit value instead of overflowing.
    if (s.StageTime[s.StageNo] < std::numeric_limits<std::int16_t>::max())
        s.StageTime[s.StageNo] += 1;

    if (s.SpeedY > -11) s.SpeedY -= 1.5;
    if (s.SpeedX < 11 && s.SpeedX > -11)
        s.SpeedX = static_cast<float>(s.SpeedX + KeyDirectionOf(s, s.HeldKey));

    MoveAndDrawBall(form, s);

    // Below a falling ball (above a rising one), two speeds ahead.
    s.ProbeColor = form.Display.point(s.TrailX[0], s.TrailY[0] - 2 * s.SpeedY);
    if (IsSolid(s.ProbeColor)) {
        if (s.SpeedY < 0) {  // landing
            s.SpeedY = 8;
            Play(form, s, "junp.wav", SoundMode::NoWait);
            TateTokusyu(form, s);
            s.TrailY[0] -= 10;
        } else {  // ceiling, or a contact at the top of the arc
            s.SpeedY = -2;
            Play(form, s, "junp.wav", SoundMode::NoWait);
            s.TrailY[0] += 5;
        }
        ScreenOn(form, s);
    }

    // Beside the ball, two speeds ahead; a kick off the wall needs this before the next tick.
    s.WallHitSpeed = 0;
    s.ProbeColor = form.Display.point(s.TrailX[0] + 2.0 * s.SpeedX, s.TrailY[0]);
    if (IsSolid(s.ProbeColor)) {
        WallBounce(s);
        Play(form, s, "junp.wav", SoundMode::NoWait);
        ScreenOn(form, s);
    }

    if (s.TrailY[0] > kLossLine) {
        Otita(form, s);
        if (form.ended()) return;
    }
    if (s.TrailX[0] > kExitLine) NextStage(form, s);
}

}  // namespace hopla
