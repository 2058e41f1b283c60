// The device-facing sound interface: one voice, play with or without waiting, stop.
#pragma once

#include <string>

namespace hopla {

// A new sound cuts off the playing one. With wait the call returns when the sound has
// finished. A missing or unreadable file is silence (and, with wait, no wait at all).
class SoundDevice {
  public:
    virtual ~SoundDevice() = default;
    virtual void play(const std::string& path, bool wait) = 0;
    // Silences the playing sound. `wait` is the mode the game passed; once silent there is
    // nothing left to wait for, so a device only reports it.
    virtual void stop(bool wait) = 0;
};

}  // namespace hopla
