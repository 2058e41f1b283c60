// Where the sound device's samples go: an output that asks for them as it plays them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace hopla {

// An open output, asking its Fill for samples (interleaved 16-bit, kDeviceChannels at
// kDeviceRate) until it is destroyed; never after.
class AudioOutput {
  public:
    // Fills `count` samples at `out`; called from the output's own thread on the desktop, from
    // the page's event loop in the browser.
    using Fill = void (*)(void* user, std::int16_t* out, std::size_t count);

    virtual ~AudioOutput() = default;
    // While paused the output plays silence and asks for nothing.
    virtual void setPaused(bool paused) = 0;
};

// SDL's audio device (in the browser SDL's, on a ScriptProcessorNode); null with `problem` set
// when it cannot be opened.
std::unique_ptr<AudioOutput> OpenSdlAudioOutput(AudioOutput::Fill fill, void* user,
                                                std::string& problem);

// The platform's output: SDL's on the desktop; in the browser the page's AudioWorklet where it
// has one, SDL's otherwise (frontend/web/AudioOutput.cpp).
std::unique_ptr<AudioOutput> OpenAudioOutput(AudioOutput::Fill fill, void* user,
                                             std::string& problem);

}  // namespace hopla
