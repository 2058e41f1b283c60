// The ghost: the best game's ball beside the game being played, its demo replayed headless on a
// game of its own, tick for tick.
#pragma once

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
    // `best` replayed on a game made with its seed (`stages` put in first for a demo of a stage
    // file); the wave files in `exeDir` give the sounds the game waits for their lengths.
    Ghost(Demo best, const std::string& exeDir, RecordingSound::WaveLength waveLength,
          const StageFile* stages = nullptr);
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    // Where the best game's ball was once it had spent `ticks` ball ticks in stage `stage`
    // (0..20): the replay runs on to there, one handler after another. Once the best game has
    // left the stage, where it left it. None when the best game never got there or its replay
    // went astray. Asked for an earlier stage than last time, or fewer ticks of the same one (a
    // new game), it starts again from start-up.
    std::optional<GhostPoint> at(int stage, int ticks);

  private:
    // One handler of the replay, as the headless playback runs them; false when nothing more
    // runs (the demo is over or went astray).
    bool step();
    void restart();

    Demo demo_;
    SimCore sim_;
    SimCore::Snapshot start_;
    std::unique_ptr<Player> player_;
    bool begun_ = false;  // the replay's game has left the title room
    int stage_ = -1;      // the stage of `last_`
    int ticks_ = 0;       // the ticks last asked for
    GhostPoint last_;
};

}  // namespace hopla
