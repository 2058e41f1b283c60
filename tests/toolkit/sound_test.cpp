// Wave reading and the recording sound device: bad files are silence, waiting takes time.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "headless/RecordingSound.h"
#include "headless/SoundLog.h"
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

TEST(RecordingSound, WaitingTakesTheSoundsLengthOnTheVirtualClock) {
    VirtualClock clock;
    RecordingSound sound(clock);
    testing::SoundLog log(sound);
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
    ASSERT_EQ(log.calls().size(), 5u);
    EXPECT_FALSE(log.calls()[4].path);
    EXPECT_TRUE(log.calls()[1].wait);
    EXPECT_EQ(log.calls()[2].at, keri->length());
}

// hopla-sim times waiting sounds by the same reading: a file beyond the limits takes no time,
// however long it says it is, and one larger than a sound can be is not read at all.
TEST(RecordingSound, FilesBeyondTheLimitsTakeNoTime) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("hopla-wave-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto write = [&](const char* name, const std::vector<std::uint8_t>& bytes,
                     std::streamoff gap = 0) {
        const std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary);
        const std::size_t head = gap > 0 ? 36 : bytes.size();  // up to the data chunk
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(head));
        if (gap > 0) {
            // An unused chunk of `gap` bytes (left a hole in the file) before the data.
            std::vector<std::uint8_t> chunk;
            PutTag(chunk, "junk");
            Put32(chunk, static_cast<std::uint32_t>(gap));
            out.write(reinterpret_cast<const char*>(chunk.data()), 8);
            out.seekp(gap, std::ios::cur);
            out.write(reinterpret_cast<const char*>(bytes.data()) + 48,
                      static_cast<std::streamsize>(bytes.size() - 48));
        }
        return path;
    };
    const std::string cases[] = {
        write("one-hertz.wav", MakeWave(20, 1)),
        write("long.wav", MakeWave(31 * 4000, 4000)),
        write("padded.wav", MakeWave(100, 22050), std::streamoff{40} << 20),
    };
    VirtualClock clock;
    RecordingSound sound(clock);
    for (const std::string& path : cases) {
        sound.play(path, true);
        EXPECT_EQ(clock.now(), Duration(0)) << path;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hopla
