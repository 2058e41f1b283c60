// NextStage: where the ball goes after leaving a stage through its right-hand opening.
#include "stage/Progression.h"

#include "app/Sound.h"
#include "stage/Render.h"
#include "stage/StageTable.h"
#include "toolkit/Rounding.h"

namespace hopla {

int IntroductionInterval(int ballInterval) {
    return RoundHalfEven(ballInterval / 6.0);
}

void NextStage(Form1& form, GameState& s) {
    s.BallState = kBallInPlay;
    if (s.StageNo == kTitleStage) {  // a new game
        s.StageNo = 0;
        s.BallsLeft = 9;
        for (int i = 0; i <= 22; ++i) s.StageTime[i] = 0;
    } else {
        s.StageNo += 1;
    }
    PutBallAtStart(s, s.StageNo);
    s.SpeedY = 0;
    s.SpeedX = 0;
    s.Tick = 0;
    s.BallColor = 0;
    // Back still holds the stage just left: it stays on screen, without the ball.
    ScreenOn(form, s);

    if (s.StageNo == kTitleStage) {  // stage 20 is behind: the ending takes over
        ScreenOn(form, s);
        for (Timer* t : {&form.Timer1, &form.Timer2, &form.Timer3, &form.Timer4, &form.Timer5})
            t->setInterval(0);
        form.Etimer.setInterval(2500);
        s.LoopX = 0;
        s.Tick = 0;
        s.EndPhase = 0;
        return;
    }
    Play(form, s, "next.wav", SoundMode::NoWait);
    form.Timer4.setInterval(IntroductionInterval(s.BallInterval));
    form.Timer1.setInterval(0);
}

}  // namespace hopla
