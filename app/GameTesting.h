// What the headless runner may do beyond the seam, for scripts and tests only.
#pragma once

#include "app/Game.h"
#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Reads and changes the record and the window's elements. The SDL frontend never uses it;
// hopla-sim's `set` and `state` commands, the soak, the solver and the tests do.
class GameTesting {
  public:
    explicit GameTesting(Game& game) : game_(game) {}

    GameState& state() { return *game_.state_; }
    Form1& form() { return *game_.form_; }

  private:
    Game& game_;
};

}  // namespace hopla
