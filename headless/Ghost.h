// The ghost: a best run's ball beside the game being played, its demo replayed headless on a
// game of its own, tick for tick.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "demo/Demo.h"
#include "demo/Player.h"
#include "headless/SimCore.h"
#include "stage/StageFile.h"

namespace hopla {

// A point of the picture.
struct GhostPoint {
    int x = 0, y = 0;
    bool operator==(const GhostPoint&) const = default;
};

class Ghost {
  public:
    // `run` replayed on a game made with its seed (`stages` put in first for a demo of a stage
    // file); the wave files in `exeDir` give the sounds the game waits for their lengths. The
    // ghost follows the demo's last game: a demo of the records holds every game of the window's
    // session up to the one it was kept for.
    Ghost(std::shared_ptr<const Demo> run, const std::string& exeDir,
          RecordingSound::WaveLength waveLength, const StageFile* stages = nullptr);
    Ghost(Demo run, const std::string& exeDir, RecordingSound::WaveLength waveLength,
          const StageFile* stages = nullptr)
        : Ghost(std::make_shared<const Demo>(std::move(run)), exeDir, std::move(waveLength),
                stages) {}
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    // Where the run's ball was once it had spent `ticks` ball ticks in stage `stage` (0..20): the
    // replay runs on to there, one handler after another, at most `budget` of them in this call.
    // Once the run has left the stage, where it left it. None when the run never got there or its
    // replay went astray. When the budget runs out first, behind() holds (ask again) and the
    // answer is where the replay's ball last was in the stage, none before it got there. Asked
    // for an earlier stage than last time, or fewer ticks of the same one (a new game), it
    // starts again from start-up (restarts()).
    std::optional<GhostPoint> at(int stage, int ticks, std::size_t budget = kNoLimit);
    // Whether at(stage, ticks) would start again from start-up, which takes as long as a few
    // hundred handlers.
    bool restarts(int stage, int ticks) const {
        return stage < stage_ || (stage == stage_ && ticks < ticks_);
    }
    // Back to start-up, as at() does when it restarts.
    void restart();
    // The last at() stopped for its budget on the way.
    bool behind() const { return behind_; }
    const std::shared_ptr<const Demo>& run() const { return demo_; }

  private:
    // One handler of the replay, as the headless playback runs them; false when nothing more
    // runs (the demo is over or went astray).
    bool step();

    std::shared_ptr<const Demo> demo_;
    std::uint64_t lastGame_ = 0;  // the point where the demo's last game left the title room
    SimCore sim_;
    SimCore::Snapshot start_;
    std::unique_ptr<Player> player_;
    bool begun_ = false;   // the replay's last game has left the title room
    bool behind_ = false;  // the last at() ran out of its budget
    int stage_ = -1;       // the stage of `last_`
    int ticks_ = 0;        // the ticks last asked for
    GhostPoint last_;
};

}  // namespace hopla
