// Otita: a ball fell out through the floor.
#include "play/BallLoss.h"

#include "form/Sound.h"
#include "stage/Progression.h"
#include "stage/Render.h"
#include "stage/StageTable.h"

namespace hopla {

void Otita(Form1& form, GameState& s) {
    if (s.StageNo == kTitleStage) {  // the shaft under the End sign: quit
        Stop(form, SoundMode::Wait);
        form.End();
        return;
    }
    s.BallState = kBallInPlay;
    s.BallsLeft -= 1;
    Play(form, s, "otita.wav", SoundMode::NoWait);
    if (s.BallsLeft != 0) {  // the same stage again, reloaded after the introduction
        ParkBallAtStart(form, s, s.StageNo);
    } else {  // game over: the title stage, with "Game Over" typed after the introduction
        Stop(form, SoundMode::NoWait);  // the wipe begins in silence
        LoadStageGrid(s, kTitleStage);
        s.StageNo = kTitleStage;
        s.BallState = kBallGameOver;
        s.TypingRow = 1;
        ParkBallAtStart(form, s, kTitleStage);
    }
    StartIntroduction(form, s);
}

}  // namespace hopla
