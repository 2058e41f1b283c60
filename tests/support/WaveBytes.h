// Wave file bytes built in tests: a mono PCM wave of any length, rate and sample size.
#pragma once

#include <cstdint>
#include <vector>

namespace hopla::testing {

inline void Put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutTag(std::vector<std::uint8_t>& b, const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(t[i]));
}

// A mono 16-bit wave of `frames` samples at `rate`.
inline std::vector<std::uint8_t> MakeWave(int frames, int rate, int bits = 16, int format = 1) {
    std::vector<std::uint8_t> b;
    const int bytes = frames * bits / 8;
    PutTag(b, "RIFF");
    Put32(b, 36 + bytes);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, format);
    Put16(b, 1);
    Put32(b, rate);
    Put32(b, rate * bits / 8);
    Put16(b, bits / 8);
    Put16(b, bits);
    PutTag(b, "LIST");  // an unrelated odd-sized chunk, padded, before the data
    Put32(b, 3);
    for (std::uint8_t c : {'a', 'b', 'c', '\0'}) b.push_back(c);
    PutTag(b, "data");
    Put32(b, bytes);
    for (int i = 0; i < frames; ++i) bits == 16 ? Put16(b, i * 7) : b.push_back(128 + i % 100);
    return b;
}

}  // namespace hopla::testing
