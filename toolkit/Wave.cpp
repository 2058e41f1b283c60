// RIFF/WAVE parsing: walks the chunks, checks every length against the bytes present and the
// sound against the limits before any sample is copied.
#include "toolkit/Wave.h"

namespace hopla {
namespace {

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
bool Tag(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    return b[at] == tag[0] && b[at + 1] == tag[1] && b[at + 2] == tag[2] && b[at + 3] == tag[3];
}

std::size_t MaxSeconds() {
    return static_cast<std::size_t>(
        std::chrono::duration_cast<std::chrono::seconds>(kMaxWaveLength).count());
}

std::optional<Wave> Refuse(std::string* problem, std::string why) {
    if (problem) *problem = std::move(why);
    return std::nullopt;
}

}  // namespace

bool WithinWaveLimits(const Wave& w) {
    if (w.channels < 1 || w.channels > 2) return false;
    if (w.rate < kMinWaveRate || w.rate > kMaxWaveRate) return false;
    return w.frames() <= static_cast<std::size_t>(w.rate) * MaxSeconds();
}

std::optional<Wave> DecodeWave(std::span<const std::uint8_t> b, std::string* problem) {
    if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE"))
        return Refuse(problem, "not a RIFF/WAVE file");
    int format = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    bool haveFmt = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::uint32_t size = Le32(b, at + 4);
        const std::size_t body = at + 8;
        if (size > b.size() - body) return Refuse(problem, "a chunk runs past the end");
        if (Tag(b, at, "fmt ")) {
            if (size < 16) return Refuse(problem, "the format chunk is too short");
            format = Le16(b, body);
            channels = Le16(b, body + 2);
            rate = Le32(b, body + 4);
            bits = Le16(b, body + 14);
            haveFmt = true;
        } else if (Tag(b, at, "data")) {
            if (!haveFmt) return Refuse(problem, "no format chunk before the data");
            if (format != 1 || channels < 1 || channels > 2 || (bits != 8 && bits != 16))
                return Refuse(problem, "not 8- or 16-bit PCM in one or two channels");
            if (rate < kMinWaveRate || rate > kMaxWaveRate) {
                return Refuse(problem, "sample rate " + std::to_string(rate) + " Hz outside " +
                                           std::to_string(kMinWaveRate) + ".." +
                                           std::to_string(kMaxWaveRate));
            }
            Wave w;
            w.channels = channels;
            w.rate = static_cast<int>(rate);
            const std::size_t bytesPer = bits / 8;
            const std::size_t count = size / bytesPer;
            // Measured on the chunk's length, before anything is allocated.
            if (count / static_cast<std::size_t>(channels) > std::size_t{rate} * MaxSeconds())
                return Refuse(problem, "longer than " + std::to_string(MaxSeconds()) + " s");
            w.samples.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t p = body + i * bytesPer;
                w.samples.push_back(bits == 16 ? static_cast<std::int16_t>(Le16(b, p))
                                               : static_cast<std::int16_t>((b[p] - 128) << 8));
            }
            return w;
        }
        at = body + size + (size & 1);  // chunks are padded to even length
    }
    return Refuse(problem, "no data chunk");
}

}  // namespace hopla
