// Wave reading and the recording sound device: bad files are silence, waiting takes time.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "headless/RecordingSound.h"
#include "toolkit/Wave.h"

namespace hopla {
namespace {

void Put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& b, const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(t[i]));
}

// A mono 16-bit wave of `frames` samples at `rate`.
std::vector<std::uint8_t> MakeWave(int frames, int rate, int bits = 16, int format = 1) {
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

TEST(Wave, RejectsWhatIsNotACompletePcmWave) {
    const auto good = MakeWave(100, 22050);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"header only", {good.begin(), good.begin() + 12}},
        {"truncated data", {good.begin(), good.end() - 1}},
        {"no data chunk", {good.begin(), good.begin() + 36}},
        {"compressed", MakeWave(100, 22050, 16, 2)},
        {"24-bit", MakeWave(100, 22050, 24)},
    };
    auto notRiff = good;
    notRiff[0] = 'X';
    cases.push_back({"not RIFF", notRiff});
    auto huge = good;
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    cases.push_back({"absurd RIFF size is harmless", huge});
    for (const Case& c : cases) {
        if (std::string(c.what) == "absurd RIFF size is harmless")
            EXPECT_TRUE(DecodeWave(c.bytes)) << c.what;
        else
            EXPECT_FALSE(DecodeWave(c.bytes)) << c.what;
    }
}

TEST(RecordingSound, WaitingTakesTheSoundsLengthOnTheVirtualClock) {
    VirtualClock clock;
    RecordingSound sound(clock);
    const std::string dir = HOPLA_ASSET_DIR "/";
    const auto keri = LoadWave(dir + "keri.wav");
    ASSERT_TRUE(keri);
    sound.play(dir + "keri.wav", false);
    EXPECT_EQ(clock.now(), Duration(0));
    sound.play(dir + "keri.wav", true);
    EXPECT_EQ(clock.now(), keri->length());
    sound.play(dir + "missing.wav", true);  // a missing file is silence: no wait
    EXPECT_EQ(clock.now(), keri->length());
    sound.play(dir, true);  // a directory under the name: silence too
    EXPECT_EQ(clock.now(), keri->length());
    sound.stop(false);
    ASSERT_EQ(sound.calls().size(), 5u);
    EXPECT_FALSE(sound.calls()[4].path);
    EXPECT_TRUE(sound.calls()[1].wait);
    EXPECT_EQ(sound.calls()[2].at, keri->length());
}

}  // namespace
}  // namespace hopla
