// Sound calls of the game, routed to the window's sound device.
#include "form/Sound.h"

#include <string>

namespace hopla {

void Play(Form1& form, const GameState& state, std::string_view file, SoundMode mode) {
    form.Sound.play(state.SoundDir + std::string(file), mode == SoundMode::Wait);
}

void Stop(Form1& form, SoundMode mode) {
    form.Sound.stop(mode == SoundMode::Wait);
}

}  // namespace hopla
