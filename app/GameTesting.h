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

    // Game::startStage, at any moment between handlers.
    void startStage(int n) { game_.startStage(n); }

  private:
    Game& game_;
};

}  // namespace hopla
