// The recording sound device: waiting takes the sound's length on the virtual clock, and a
// file that is no playable sound takes none.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "headless/RecordingSound.h"
#include "shell/GameFiles.h"
#include "support/SoundLog.h"
#include "support/WaveBytes.h"
#include "toolkit/Wave.h"

namespace hopla {
namespace {

using testing::MakeWave;
using testing::Put32;
using testing::PutTag;

TEST(RecordingSound, WaitingTakesTheSoundsLengthOnTheVirtualClock) {
    VirtualClock clock;
    RecordingSound sound(clock, WaveFileLength);
    testing::SoundLog log(sound);
    const std::string dir = HOPLA_ASSET_DIR "/";
    const auto keri = ReadWaveFile(dir + "keri.wav");
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
    RecordingSound sound(clock, WaveFileLength);
    for (const std::string& path : cases) {
        sound.play(path, true);
        EXPECT_EQ(clock.now(), Duration(0)) << path;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hopla
