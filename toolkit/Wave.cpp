// RIFF/WAVE parsing: walks the chunks, checks every length against the bytes present.
#include "toolkit/Wave.h"

#include <filesystem>
#include <fstream>

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

}  // namespace

std::optional<Wave> DecodeWave(std::span<const std::uint8_t> b) {
    if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE")) return std::nullopt;
    int format = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    bool haveFmt = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::uint32_t size = Le32(b, at + 4);
        const std::size_t body = at + 8;
        if (size > b.size() - body) return std::nullopt;  // truncated chunk
        if (Tag(b, at, "fmt ")) {
            if (size < 16) return std::nullopt;
            format = Le16(b, body);
            channels = Le16(b, body + 2);
            rate = Le32(b, body + 4);
            bits = Le16(b, body + 14);
            haveFmt = true;
        } else if (Tag(b, at, "data")) {
            if (!haveFmt || format != 1 || channels < 1 || channels > 2 || rate == 0 ||
                rate > 384000 || (bits != 8 && bits != 16))
                return std::nullopt;
            Wave w;
            w.channels = channels;
            w.rate = static_cast<int>(rate);
            const std::size_t bytesPer = bits / 8;
            const std::size_t count = size / bytesPer;
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
    return std::nullopt;
}

std::optional<Wave> LoadWave(const std::string& path) {
    // A directory or device under the name is as good as a missing file: silence.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    return DecodeWave(bytes);
}

}  // namespace hopla
