// The sound's output through an SDL audio device, which calls back for each buffer it plays.
#include <SDL.h>

#include <utility>

#include "frontend/AudioOutput.h"
#include "frontend/SdlHandles.h"
#include "frontend/SdlSound.h"

namespace hopla {
namespace {

// Samples per channel in one device buffer: about 12 ms, so a cut-off or stop is heard at once.
constexpr Uint16 kBufferFrames = 512;

class SdlAudioOutput final : public AudioOutput {
  public:
    SdlAudioOutput(Fill fill, void* user) : fill_(fill), user_(user) {}
    ~SdlAudioOutput() override = default;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    bool open(std::string& problem) {
        if (!audio_.ok()) {
            problem = audio_.error();
            return false;
        }
        SDL_AudioSpec want{};
        want.freq = kDeviceRate;
        want.format = AUDIO_S16SYS;
        want.channels = kDeviceChannels;
        want.samples = kBufferFrames;
        want.callback = &SdlAudioOutput::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No format changes allowed: SDL converts our buffers to whatever the hardware wants.
        device_ = AudioDevice(SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0));
        if (!device_) {
            problem = SDL_GetError();
            return false;
        }
        SDL_PauseAudioDevice(device_.id(), 0);
        return true;
    }

    void setPaused(bool paused) override { SDL_PauseAudioDevice(device_.id(), paused ? 1 : 0); }

  private:
    static void Callback(void* self, Uint8* stream, int bytes) {
        const auto* output = static_cast<SdlAudioOutput*>(self);
        output->fill_(output->user_, reinterpret_cast<std::int16_t*>(stream),
                      static_cast<std::size_t>(bytes) / sizeof(std::int16_t));
    }

    Fill fill_;
    void* user_;
    SdlSubsystem audio_{SDL_INIT_AUDIO};
    AudioDevice device_;  // after audio_, so closed first: no callback once it is gone
};

}  // namespace

std::unique_ptr<AudioOutput> OpenSdlAudioOutput(AudioOutput::Fill fill, void* user,
                                                std::string& problem) {
    auto output = std::make_unique<SdlAudioOutput>(fill, user);
    if (!output->open(problem)) return nullptr;
    return output;
}

}  // namespace hopla
