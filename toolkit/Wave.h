// Reading RIFF/WAVE files of 8- or 16-bit PCM into samples, with strict bounds checks.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "toolkit/Clock.h"

namespace hopla {

// Sound files lie beside the game and are not trusted. Every sound effect a player hears is far
// inside these limits; a file beyond them is silence, so a crafted file cannot make the game
// read, resample or convert more than a short sound's worth. At most 30 s makes at most 5.3 MB
// in the device's format (44100 Hz stereo 16-bit); 32 MB holds 30 s at the highest rate in
// stereo (23 MB) with room for other chunks.
inline constexpr int kMinWaveRate = 4000;  // frames per second
inline constexpr int kMaxWaveRate = 192000;
inline constexpr Duration kMaxWaveLength = std::chrono::seconds(30);
inline constexpr std::uintmax_t kMaxWaveFileBytes = 32u << 20;

struct Wave {
    int channels = 1;
    int rate = 44100;
    std::vector<std::int16_t> samples;  // interleaved, 16-bit

    std::size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
    Duration length() const {
        return rate > 0 ? Duration(static_cast<long long>(frames()) * 1'000'000'000LL / rate)
                        : Duration(0);
    }
};

// Whether the wave has one or two channels, a rate in kMinWaveRate..kMaxWaveRate and lasts at
// most kMaxWaveLength.
bool WithinWaveLimits(const Wave& wave);

// nullopt for anything that is not a complete PCM wave within the limits: a missing fmt or data
// chunk, a data chunk running past the end of the bytes, an unsupported format, a rate or
// length beyond the limits. `problem`, when given, then says why in a few words.
std::optional<Wave> DecodeWave(std::span<const std::uint8_t> bytes, std::string* problem = nullptr);
// The runners read wave files whole and decode them with it (shell/GameFiles.h).

}  // namespace hopla
