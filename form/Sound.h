// The game-facing sound calls: a file of the game's directory played with or without waiting.
#pragma once

#include <string_view>

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

enum class SoundMode { Wait = 0, NoWait = 1 };

// Plays SoundDir followed by the file name. A missing file is silence; nothing is reported.
void Play(Form1& form, const GameState& state, std::string_view file, SoundMode mode);
// Stops the playing sound; the device is told the mode the game passes (0 waits, 1 does not).
void Stop(Form1& form, SoundMode mode);

}  // namespace hopla
