// The sound calls of a headless game, collected for a test through the recording device's hook.
#pragma once

#include <vector>

#include "headless/RecordingSound.h"

namespace hopla::testing {

// Holds the device's onCall hook while it lives; the device itself keeps no calls.
class SoundLog {
  public:
    explicit SoundLog(RecordingSound& sound) : sound_(sound) {
        sound_.onCall = [this](const RecordingSound::Call& call) { calls_.push_back(call); };
    }
    ~SoundLog() { sound_.onCall = nullptr; }
    SoundLog(const SoundLog&) = delete;
    SoundLog& operator=(const SoundLog&) = delete;

    const std::vector<RecordingSound::Call>& calls() const { return calls_; }
    void clear() { calls_.clear(); }

  private:
    RecordingSound& sound_;
    std::vector<RecordingSound::Call> calls_;
};

}  // namespace hopla::testing
