// The game's sound device: one voice mixed into the platform's audio output (AudioOutput.h),
// decoded files cached, waits without spinning.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "frontend/AudioOutput.h"
#include "toolkit/Clock.h"
#include "toolkit/Sound.h"
#include "toolkit/Wave.h"

namespace hopla {

// Every sound is converted once to this format; SDL converts it further to the hardware's.
inline constexpr int kDeviceRate = 44100;
inline constexpr int kDeviceChannels = 2;

// The wave's samples resampled to kDeviceRate and kDeviceChannels, 16-bit interleaved; empty
// when SDL cannot convert the wave's format.
std::vector<std::int16_t> ConvertForDevice(const Wave& wave);

// When no output device can be opened (no sound hardware, a dummy driver that fails, a headless
// machine) that is said in one line on the standard error and every sound is silence, but waiting
// still takes the sound's length, so the game keeps its pace. A file that is missing or not a
// complete wave is silence and never waited for, named once on the standard error.
class SdlSound final : public SoundDevice {
  public:
    // Told the length of a sound played with wait, instead of waiting for it: the browser's
    // loop, which must not block, holds the game's clock that long (RealClock::holdFor).
    using Hold = std::function<void(Duration length)>;

    // Without `openDevice` (the player asked for no sound) no device is tried at all. Without
    // `hold` a sound played with wait blocks until it has been heard.
    explicit SdlSound(bool openDevice = true, Hold hold = {});
    ~SdlSound() override = default;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void play(const std::string& path, bool wait) override;
    void stop(bool wait) override;

    bool hasDevice() const { return static_cast<bool>(output_); }
    // How loud every sound is, 0 (silent, though still played and waited for) to 100 (as the
    // file has it); takes effect within one device buffer. Called by the loop at start-up and
    // when the player changes it.
    void setVolume(int percent);
    int volume() const { return volume_.load(std::memory_order_relaxed); }
    // Holds the sound where it is while the game is paused, and goes on from there.
    void setPaused(bool paused);

  private:
    struct Clip {
        std::vector<std::int16_t> samples;  // device format
        Duration length{0};                 // of the file as written
    };

    std::shared_ptr<const Clip> load(const std::string& path);
    static void Fill(void* self, std::int16_t* out, std::size_t count);
    void fill(std::int16_t* out, std::size_t count);

    std::map<std::string, std::shared_ptr<const Clip>> cache_;  // null: no usable wave
    Hold hold_;

    // The voice, shared with the audio callback thread under mutex_.
    std::mutex mutex_;
    std::condition_variable voiceEnded_;
    std::shared_ptr<const Clip> voice_;
    std::size_t position_ = 0;
    std::atomic<int> volume_{100};

    // Declared last so it is closed first: the output never asks for samples after the voice.
    std::unique_ptr<AudioOutput> output_;
};

}  // namespace hopla
