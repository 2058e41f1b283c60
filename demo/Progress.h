// Progress lines for a long demo playback, so that a run of hours does not look like a hang.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/Game.h"

namespace hopla {

// While it lives, says on `err` how far the game has come towards the demo's end, as
// "PROGRAM: 12% (handler 123456789 of 1000000000000000)", once every `every` of wall time
// (none before the first `every` has passed: a short demo says nothing). hopla-sim --play and
// hopla --play keep one while they play, when standard error is a terminal.
class PlaybackProgress {
  public:
    using WallClock = std::function<std::chrono::steady_clock::time_point()>;

    PlaybackProgress(Game& game, std::uint64_t endPoint, std::string_view program,
                     std::ostream& err, WallClock now = &std::chrono::steady_clock::now,
                     std::chrono::steady_clock::duration every = std::chrono::seconds(3));

  private:
    void afterHandler();

    Game& game_;
    std::uint64_t endPoint_;
    std::string program_;
    std::ostream& err_;
    WallClock now_;
    std::chrono::steady_clock::duration every_;
    std::chrono::steady_clock::time_point next_;
    ObserverHandle observation_;
};

}  // namespace hopla
