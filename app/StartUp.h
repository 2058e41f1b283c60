// Start-up: what runs once when the window is created, before anything is shown.
#pragma once

#include <cstdint>
#include <string>

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// Seeds the shuffles with `seed`, sizes the pictures, gives the record its first values,
// builds the band and cell orders, fills the stage table, sets SoundDir from the directory
// holding the executable and arms Timer2. Called once by the runner, right after creating
// the form and record.
void Form_Load(Form1& form, GameState& state, std::uint32_t seed, const std::string& exeDir);

// The directory with a trailing "/"; a directory already ending in "/" (the root) as it is.
std::string SoundDirFrom(const std::string& exeDir);

}  // namespace hopla
