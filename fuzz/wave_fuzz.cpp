// Fuzzer of the wave decoder and the conversion of what it accepts to the device's format.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frontend/SdlSound.h"
#include "toolkit/Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    const std::optional<hopla::Wave> wave = hopla::DecodeWave({data, size}, &problem);
    if (!wave) {
        if (problem.empty()) __builtin_trap();  // every refusal says why
        return 0;
    }
    if (!hopla::WithinWaveLimits(*wave)) __builtin_trap();
    // The conversion gives the sound's own length at the device's rate, never more.
    const std::vector<std::int16_t> out = hopla::ConvertForDevice(*wave);
    const auto frames = (static_cast<std::size_t>(wave->frames()) * hopla::kDeviceRate +
                         static_cast<std::size_t>(wave->rate) - 1) /
                        static_cast<std::size_t>(wave->rate);
    if (out.size() > frames * hopla::kDeviceChannels) __builtin_trap();
    return 0;
}
