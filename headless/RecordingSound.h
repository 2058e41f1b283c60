// A sound device that plays nothing and reports every call; waiting advances a virtual clock.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "headless/VirtualClock.h"
#include "toolkit/Sound.h"

namespace hopla {

class RecordingSound final : public SoundDevice {
  public:
    struct Call {
        Duration at;
        std::optional<std::string> path;  // none for a stop
        bool wait;
    };

    // How long the wave file at a path plays, 0 when it cannot be read: the runner reads the
    // files (shell's WaveFileLength), this device never does.
    using WaveLength = std::function<Duration(const std::string& path)>;

    RecordingSound(VirtualClock& clock, WaveLength waveLength)
        : clock_(clock), waveLength_(std::move(waveLength)) {}

    // A waiting play moves the clock on by the file's length, asked once per file.
    void play(const std::string& path, bool wait) override;
    void stop(bool wait) override;

    // Called with each call as it happens (hopla-sim prints it). Nothing else keeps the calls,
    // so a game of any length costs no memory for them.
    std::function<void(const Call&)> onCall;

  private:
    void record(const Call& call);
    Duration lengthOf(const std::string& path);

    VirtualClock& clock_;
    WaveLength waveLength_;
    std::map<std::string, Duration> lengths_;  // files are read once
};

}  // namespace hopla
