// Encoding of 16-bit PCM mono wave files.
#include "tools/gen-assets/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace hopla::gen {
namespace {

void PutTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const Samples& samples) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size()) * 2;
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, kSampleRate, 4);
    PutLe(out, kSampleRate * 2, 4);  // bytes per second
    PutLe(out, 2, 2);                // bytes per frame
    PutLe(out, 16, 2);               // bits per sample
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    for (float v : samples) {
        const long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
        PutLe(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(q)) & 0xFFFF, 2);
    }
    return out;
}

}  // namespace hopla::gen
