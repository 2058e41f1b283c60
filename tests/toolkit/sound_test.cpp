// Wave reading: bad files and files beyond the limits of a short sound are refused.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/WaveBytes.h"
#include "toolkit/Wave.h"

namespace hopla {
namespace {

using testing::MakeWave;

TEST(Wave, ReadsSamplesAndLength) {
    const auto w = DecodeWave(MakeWave(4410, 44100));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->frames(), 4410u);
    EXPECT_EQ(w->length(), std::chrono::milliseconds(100));
    EXPECT_EQ(w->samples[3], 21);
    const auto eight = DecodeWave(MakeWave(100, 8000, 8));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->samples[1], 1 << 8);
}

// Sound files are not trusted: what is not a complete PCM wave, or has a rate or a length no
// sound effect has, is silence; the limits themselves are still played.
TEST(Wave, RefusesWhatIsNotACompletePcmWaveWithinTheLimits) {
    const auto good = MakeWave(100, 22050);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool playable = false;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"header only", {good.begin(), good.begin() + 12}},
        {"truncated data", {good.begin(), good.end() - 1}},
        {"no data chunk", {good.begin(), good.begin() + 36}},
        {"compressed", MakeWave(100, 22050, 16, 2)},
        {"24-bit", MakeWave(100, 22050, 24)},
        {"rate 0", MakeWave(100, 0)},
        {"rate 1", MakeWave(20, 1)},
        {"rate 3999", MakeWave(100, 3999)},
        {"rate 4000", MakeWave(100, 4000), true},
        {"rate 192000", MakeWave(100, 192000), true},
        {"rate 192001", MakeWave(100, 192001)},
        {"30 s", MakeWave(30 * 4000, 4000), true},
        {"30 s and a frame", MakeWave(30 * 4000 + 1, 4000)},
        {"30 s of 8-bit", MakeWave(30 * 8000, 8000, 8), true},
        {"30 s and a frame of 8-bit", MakeWave(30 * 8000 + 1, 8000, 8)},
    };
    auto notRiff = good;
    notRiff[0] = 'X';
    cases.push_back({"not RIFF", notRiff});
    auto hugeRiff = good;
    hugeRiff[4] = hugeRiff[5] = hugeRiff[6] = hugeRiff[7] = 0xFF;
    cases.push_back({"absurd RIFF size is harmless", hugeRiff, true});
    auto hugeData = good;
    hugeData[52] = hugeData[53] = hugeData[54] = 0xF0;  // the data chunk's length
    hugeData[55] = 0xFF;
    cases.push_back({"data length far past the end", hugeData});
    auto threeChannels = good;
    threeChannels[22] = 3;
    cases.push_back({"three channels", threeChannels});
    for (const Case& c : cases) EXPECT_EQ(DecodeWave(c.bytes).has_value(), c.playable) << c.what;
}

}  // namespace
}  // namespace hopla
