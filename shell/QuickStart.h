// The quick start: a key, a press or a controller's A during the opening runs the opening's
// remaining handlers at once and silently, so the ball is in the title room straight away.
#pragma once

#include <functional>
#include <string>

#include "app/Game.h"
#include "shell/Commands.h"
#include "shell/RealClock.h"
#include "toolkit/Sound.h"

namespace hopla {

// The sound device the game is given in the window: the real one, or nothing at all while
// hushed (a sound waited for is not waited for either).
class HushableSound final : public SoundDevice {
  public:
    explicit HushableSound(SoundDevice& device) : device_(device) {}
    void play(const std::string& path, bool wait) override {
        if (!hushed_) device_.play(path, wait);
    }
    void stop(bool wait) override {
        if (!hushed_) device_.stop(wait);
    }
    // Hushing cuts off the sound playing.
    void setHushed(bool hushed) {
        if (hushed && !hushed_) device_.stop(false);
        hushed_ = hushed;
    }

  private:
    SoundDevice& device_;
    bool hushed_ = false;
};

// Whether the ball has come to the title room: the title room's stage, its ball timer next.
// The opening lasts from start-up until then.
bool BallInTitleRoom(const Game& game);

// Whether this input, during the opening, asks to skip it: Enter, the back key (Space unless
// rebound), a press on the picture, a controller's A (Select).
bool AsksToSkip(const Routed& input);

// Runs the opening's remaining timer handlers in their order, each on the game's clock moved
// forward to its due time (as the headless runner does), until the ball is in the title room,
// nothing is due or the game ended. `runDueTimer` is the runner's own tick (so its observers see
// each handler). Called by the window's loop between handlers, hushed by the caller. Returns how
// many handlers ran.
int SkipOpening(Game& game, RealClock& clock, const std::function<bool()>& runDueTimer);

}  // namespace hopla
