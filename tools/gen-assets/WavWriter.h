// Encodes samples as a 16-bit PCM mono RIFF/WAVE file.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/gen-assets/Synth.h"

namespace hopla::gen {

// RIFF header, a 16-byte "fmt " chunk (PCM, 1 channel, kSampleRate, 16 bits) and a "data"
// chunk. Samples outside [-1, 1] are clipped.
std::vector<std::uint8_t> EncodeWav(const Samples& samples);

}  // namespace hopla::gen
