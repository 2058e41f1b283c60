// Sound calls of the game, routed to the window's sound device.
#include "app/Sound.h"

#include <string>

namespace hopla {

void Play(Form1& form, const GameState& state, std::string_view file, SoundMode mode) {
    form.Sound.play(state.SoundDir + std::string(file), mode == SoundMode::Wait);
}

void Stop(Form1& form, SoundMode) {
    form.Sound.stop();
}

}  // namespace hopla
