// The desktop's sound output: SDL's audio device.
#include "frontend/AudioOutput.h"

namespace hopla {

std::unique_ptr<AudioOutput> OpenAudioOutput(AudioOutput::Fill fill, void* user,
                                             std::string& problem) {
    return OpenSdlAudioOutput(fill, user, problem);
}

}  // namespace hopla
