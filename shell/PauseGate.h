// What of the player's input reaches the game while the shell pauses play, and the releases it
// is owed afterwards. No SDL.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "shell/Commands.h"

namespace hopla {

// Why play is paused; any of them pauses, and play resumes when none is left.
enum class PauseReason : std::uint8_t {
    Player = 1,  // P or Pause
    Menu = 2,    // the menu is open
    Away = 4,    // the window lost the focus or was minimised
};

// Follows which keys the game was given as held. While paused nothing reaches the game; a key
// the game holds that is let go during the pause reaches it as a release when play resumes, in
// the order they were let go, so the game never keeps a key the player no longer holds. A key
// pressed during the pause is not the game's: neither is its release after the pause (its next
// auto-repeat is the game's, and from then on the key).
class PauseGate {
  public:
    bool paused() const { return reasons_ != 0; }
    bool pausedFor(PauseReason reason) const {
        return (reasons_ & static_cast<unsigned>(reason)) != 0;
    }
    // Adds a reason; true when this starts a pause.
    bool hold(PauseReason reason);
    // Takes a reason away; true when this ends the pause, with the releases owed appended to
    // `out`.
    bool release(PauseReason reason, std::vector<Routed>& out);
    // Whether the game's input `input` (KeyDown, KeyUp, MouseDown) is to be delivered now.
    bool pass(const Routed& input);

  private:
    unsigned reasons_ = 0;
    std::set<int> held_;      // keys the game was given as pressed and not released
    std::vector<int> letGo_;  // of those, let go during the pause, in order
    std::set<int> kept_;      // pressed during a pause and not released since
};

}  // namespace hopla
