// A sound device that plays nothing and records every call; waiting advances a virtual clock.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

    explicit RecordingSound(VirtualClock& clock) : clock_(clock) {}

    // A waiting play moves the clock on by the file's length (0 when it cannot be read).
    void play(const std::string& path, bool wait) override;
    void stop(bool wait) override;

    const std::vector<Call>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    // Called with each new call as it happens (hopla-sim prints it).
    std::function<void(const Call&)> onCall;

  private:
    void record(Call call);
    Duration lengthOf(const std::string& path);

    VirtualClock& clock_;
    std::vector<Call> calls_;
    std::map<std::string, Duration> lengths_;  // files are read once
};

}  // namespace hopla
