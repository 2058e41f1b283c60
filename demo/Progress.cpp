// A playback's progress line, every few seconds of wall time.
#include "demo/Progress.h"

namespace hopla {

PlaybackProgress::PlaybackProgress(Game& game, std::uint64_t endPoint, std::string_view program,
                                   std::ostream& err, WallClock now,
                                   std::chrono::steady_clock::duration every)
    : game_(game),
      endPoint_(endPoint),
      program_(program),
      err_(err),
      now_(std::move(now)),
      every_(every),
      next_(now_() + every_),
      observation_(game.observe([this](std::string_view) { afterHandler(); })) {}

void PlaybackProgress::afterHandler() {
    const std::chrono::steady_clock::time_point now = now_();
    if (now < next_) return;
    next_ = now + every_;
    const std::uint64_t handler = game_.handlersRun();
    // In long double: the handler times 100 would pass 64 bits for the longest demos.
    const auto percent = endPoint_ == 0 ? 100
                                        : static_cast<int>(static_cast<long double>(handler) * 100 /
                                                           static_cast<long double>(endPoint_));
    err_ << program_ << ": " << percent << "% (handler " << handler << " of " << endPoint_ << ")"
         << std::endl;
}

}  // namespace hopla
