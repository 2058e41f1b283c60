// Jumping to a stage for scripts and tests, the way a player's game would arrive there.
#include "app/GameTesting.h"

#include <stdexcept>
#include <string>

#include "stage/Progression.h"

namespace hopla {

void GameTesting::startStage(int n) {
    if (n < 0 || n > kTitleStage) throw std::out_of_range("no stage " + std::to_string(n));
    GameState& s = state();
    Form1& f = form();
    for (Timer Form1::*timer : Form1::kTimers) (f.*timer).setInterval(0);
    // NextStage turns the title stage into a new game's stage 0 and any other stage s into
    // s + 1. A game that is not running (the title room, the ending, the last ball lost) is
    // started first, as leaving the title room does.
    const bool newGame = s.StageNo == kTitleStage || s.BallsLeft < 1;
    if (n == 0) {
        s.StageNo = kTitleStage;
    } else {
        if (newGame) NewGame(s);
        s.StageNo = n - 1;
    }
    NextStage(f, s);
    f.Display.repaintLabels();
}

}  // namespace hopla
