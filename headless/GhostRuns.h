// The ghost of the game being played, by the player's choice: the best game's run on every
// stage, or on each stage that stage's best run; one replay at a time.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "headless/Ghost.h"

namespace hopla {

class GhostRuns {
  public:
    // A demo for each stage 0..20 (none: no run of it kept); demos shared between stages are
    // replayed once.
    using StageRuns = std::array<std::shared_ptr<const Demo>, 21>;

    // `game` the best game's demo, `stages` each stage's best run's, either none; the rest as for
    // Ghost (the stage file is kept for the replays made later).
    GhostRuns(std::shared_ptr<const Demo> game, StageRuns stages, std::string exeDir,
              RecordingSound::WaveLength waveLength, const StageFile* stageFile = nullptr);

    // The stage's best run from now on, or the best game's.
    void setStageBests(bool stageBests) { stageBests_ = stageBests; }
    bool stageBests() const { return stageBests_; }

    // Whether the replay for at(stage, ticks) is there: not when the stage's run is another
    // demo than the one replayed, or the replay would start again from start-up (a new game).
    // Without a run for the stage, there is nothing to make.
    bool ready(int stage, int ticks) const;
    // Makes the replay ready: a game of its own made and started up for another demo, or the
    // replay back at start-up; a few milliseconds, which a window spends between two ticks.
    void make(int stage, int ticks);

    // As Ghost::at, on the run chosen for `stage`, made ready first. None without a run for the
    // stage.
    std::optional<GhostPoint> at(int stage, int ticks, std::size_t budget = Ghost::kNoLimit);
    bool behind() const { return ghost_ && ghost_->behind(); }

  private:
    const std::shared_ptr<const Demo>& runOf(int stage) const;

    std::shared_ptr<const Demo> game_;
    StageRuns stages_;
    std::string exeDir_;
    RecordingSound::WaveLength waveLength_;
    std::optional<StageFile> stageFile_;
    bool stageBests_ = false;
    std::unique_ptr<Ghost> ghost_;
};

}  // namespace hopla
