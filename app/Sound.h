// The game-facing sound calls: a file of the game's directory played with or without waiting.
#pragma once

#include <string_view>

#include "app/Form1.h"
#include "app/GameState.h"

namespace hopla {

enum class SoundMode { Wait = 0, NoWait = 1 };

// Plays SoundDir followed by the file name. A missing file is silence; nothing is reported.
void Play(Form1& form, const GameState& state, std::string_view file, SoundMode mode);
// Stops the playing sound; the mode is accepted as the game passes it and changes nothing.
void Stop(Form1& form, SoundMode mode);

}  // namespace hopla
