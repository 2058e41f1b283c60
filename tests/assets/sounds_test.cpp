// Tests of the eight wave files shipped beside the game: format, length and clean ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace hopla {
namespace {

std::vector<std::uint8_t> ReadAsset(const std::string& name) {
    std::ifstream file(std::string(HOPLA_ASSET_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

std::string Tag(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

TEST(SoundFiles, PlainPcmMonoAndShort) {
    struct Case {
        const char* file;
        double maxSeconds;
    };
    // The kick click holds the whole game while a speed change plays it, so it is kept
    // very short; the others only need to be brief effects.
    const Case cases[] = {{"otita.wav", 0.8},  {"next.wav", 0.8}, {"brake.wav", 0.8},
                          {"jump.wav", 0.8},   {"kabe.wav", 0.8}, {"keri.wav", 0.12},
                          {"hijump.wav", 0.8}, {"junp.wav", 0.8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<std::uint8_t> b = ReadAsset(c.file);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(Tag(b, 0), "RIFF");
        EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
        EXPECT_EQ(Tag(b, 8), "WAVE");
        EXPECT_EQ(Tag(b, 12), "fmt ");
        EXPECT_EQ(Le(b, 16, 4), 16u);
        EXPECT_EQ(Le(b, 20, 2), 1u) << "PCM";
        EXPECT_EQ(Le(b, 22, 2), 1u) << "mono";
        EXPECT_EQ(Le(b, 24, 4), 44100u);
        EXPECT_EQ(Le(b, 28, 4), 88200u) << "bytes per second";
        EXPECT_EQ(Le(b, 32, 2), 2u) << "bytes per frame";
        EXPECT_EQ(Le(b, 34, 2), 16u);
        EXPECT_EQ(Tag(b, 36), "data");
        const std::uint32_t dataBytes = Le(b, 40, 4);
        ASSERT_EQ(dataBytes, b.size() - 44);
        ASSERT_EQ(dataBytes % 2, 0u);

        const std::size_t samples = dataBytes / 2;
        const double seconds = static_cast<double>(samples) / 44100.0;
        EXPECT_GT(seconds, 0.02);
        EXPECT_LE(seconds, c.maxSeconds);

        auto sample = [&](std::size_t i) {
            return static_cast<int>(static_cast<std::int16_t>(Le(b, 44 + 2 * i, 2)));
        };
        int peak = 0;
        for (std::size_t i = 0; i < samples; ++i) peak = std::max(peak, std::abs(sample(i)));
        EXPECT_GT(peak, 8000) << "audible";
        EXPECT_LT(peak, 32767) << "not clipped";
        // Faded in and out: no click where the sound starts or is over.
        EXPECT_LE(std::abs(sample(0)), 100);
        EXPECT_LE(std::abs(sample(samples - 1)), 100);
    }
}

}  // namespace
}  // namespace hopla
