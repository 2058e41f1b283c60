// Timer5: loads and draws the stage once the introduction has handed over, then starts play.
#include "stage/StageLoad.h"

#include "stage/Render.h"
#include "stage/StageTable.h"

namespace hopla {

void Timer5_Timer(Form1& form, GameState& s) {
    s.Tick += 1;
    if (s.Tick != 7) return;
    LoadStageGrid(s, s.StageNo);
    s.BallColor = 15;
    MakeScreen(form, s);
    s.SpeedX = 0;
    s.SpeedY = 0;
    form.Timer5.setInterval(0);
    form.Timer1.setInterval(s.BallInterval);
}

}  // namespace hopla
