// What the headless runner may do beyond the seam, for scripts and tests only.
#pragma once

#include "app/Game.h"
#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Reads and changes the record and the window's elements, and puts the game at the start of a
// stage. The SDL frontend never uses it; hopla-sim's `set`, `state` and `stage` commands and the
// tests do.
class GameTesting {
  public:
    explicit GameTesting(Game& game) : game_(game) {}

    GameState& state() { return game_.state_; }
    Form1& form() { return game_.form_; }

    // Starts stage n (0..20) where a real game would be on entering it: as if the ball had just
    // left the stage before it; n = 21 as if it had left stage 20 (the ending). Coming from the
    // title room or the ending, or from a lost game, it is a new game (9 balls, the stage times
    // cleared); during a game the balls stay. Whatever sequence was running stops. Throws
    // std::out_of_range for other n.
    void startStage(int n);

  private:
    Game& game_;
};

}  // namespace hopla
