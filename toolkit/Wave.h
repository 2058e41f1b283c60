// Reading RIFF/WAVE files of 8- or 16-bit PCM into samples, with strict bounds checks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "toolkit/Clock.h"

namespace hopla {

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

// nullopt for anything that is not a complete PCM wave: a missing fmt or data chunk, a data
// chunk running past the end of the bytes, an unsupported format.
std::optional<Wave> DecodeWave(std::span<const std::uint8_t> bytes);
std::optional<Wave> LoadWave(const std::string& path);

}  // namespace hopla
