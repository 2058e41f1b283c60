// NextStage: where the ball goes after leaving a stage through its right-hand opening.
#include "stage/Progression.h"

#include "form/Sound.h"
#include "stage/Render.h"
#include "stage/StageTable.h"
#include "toolkit/Rounding.h"

namespace hopla {

int IntroductionInterval(int ballInterval) {
    return RoundHalfEven(ballInterval / 6.0);
}

void NextStage(Form1& form, GameState& s) {
    s.BallState = kBallInPlay;
    if (s.StageNo == kTitleStage) {
        NewGame(s);
    } else {
        s.StageNo += 1;
    }
    ParkBallAtStart(form, s, s.StageNo);

    if (s.StageNo == kTitleStage) {  // stage 20 is behind: the ending takes over
        ScreenOn(form, s);
        for (Timer Form1::*t : Form1::kTimers)  // all but the banner's, and the ending's own
            if (t != &Form1::Timer6 && t != &Form1::Etimer) (form.*t).setInterval(0);
        form.Etimer.setInterval(2500);
        s.LoopX = 0;
        s.Tick = 0;
        s.EndPhase = 0;
        return;
    }
    Play(form, s, "next.wav", SoundMode::NoWait);
    StartIntroduction(form, s);
}

void NewGame(GameState& s) {
    s.StageNo = 0;
    s.BallsLeft = kBallsPerGame;
    for (int i = 0; i <= 22; ++i) s.StageTime[i] = 0;
}

void ParkBallAtStart(Form1& form, GameState& s, int stage) {
    PutBallAtStart(s, stage);
    s.SpeedY = 0;
    s.SpeedX = 0;
    s.Tick = 0;
    s.BallColor = 0;
    ScreenOn(form, s);
}

void StartIntroduction(Form1& form, GameState& s) {
    form.Timer4.setInterval(IntroductionInterval(s.BallInterval));
    form.Timer1.setInterval(0);
}

}  // namespace hopla
