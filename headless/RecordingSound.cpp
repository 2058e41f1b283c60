// The recording sound device: logs calls and lets waiting sounds take virtual time.
#include "headless/RecordingSound.h"

namespace hopla {

void RecordingSound::play(const std::string& path, bool wait) {
    record({clock_.now(), path, wait});
    if (wait) clock_.advanceBy(lengthOf(path));
}

void RecordingSound::stop(bool wait) {
    record({clock_.now(), std::nullopt, wait});
}

void RecordingSound::record(const Call& call) {
    if (onCall) onCall(call);
}

Duration RecordingSound::lengthOf(const std::string& path) {
    auto [it, fresh] = lengths_.try_emplace(path, Duration(0));
    if (fresh && waveLength_) it->second = waveLength_(path);
    return it->second;
}

}  // namespace hopla
