// The SDL sound device: conversion to the device format, waiting, cut-off and silent fallbacks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "frontend/SdlSound.h"

namespace hopla {
namespace {

using std::chrono::milliseconds;
using Steady = std::chrono::steady_clock;

Wave ConstantWave(int channels, int rate, int frames, std::int16_t value) {
    Wave w;
    w.channels = channels;
    w.rate = rate;
    w.samples.assign(static_cast<std::size_t>(channels) * frames, value);
    return w;
}

TEST(ConvertForDevice, ResamplesMonoToStereoAtTheDeviceRate) {
    const struct {
        int rate;
        int frames;
    } cases[] = {{22050, 2205}, {8000, 800}, {11025, 4410}, {4000, 400}, {192000, 19200}};
    for (const auto& c : cases) {
        const std::vector<std::int16_t> out =
            ConvertForDevice(ConstantWave(1, c.rate, c.frames, 1000));
        // The silence put after the sound hands over the resampler's look-ahead: the whole
        // length arrives, whatever the rate.
        const auto expectedFrames =
            (static_cast<std::size_t>(c.frames) * kDeviceRate + c.rate - 1) / c.rate;
        ASSERT_EQ(out.size() % kDeviceChannels, 0u) << c.rate;
        EXPECT_EQ(out.size() / kDeviceChannels, expectedFrames) << c.rate;
        // Away from the edges, where the resampler's filter ramps, the level is kept and both
        // channels carry the same sample.
        const std::size_t frames = out.size() / kDeviceChannels;
        for (std::size_t f = frames / 8; f < frames * 7 / 8; ++f) {
            EXPECT_EQ(out[2 * f], out[2 * f + 1]) << c.rate << " frame " << f;
            EXPECT_NEAR(out[2 * f], 1000, 20) << c.rate << " frame " << f;
        }
    }
}

TEST(ConvertForDevice, LeavesTheDeviceFormatAsItIs) {
    Wave w = ConstantWave(2, kDeviceRate, 300, 0);
    for (std::size_t i = 0; i < w.samples.size(); ++i)
        w.samples[i] = static_cast<std::int16_t>(i * 37 % 2000 - 1000);
    EXPECT_EQ(ConvertForDevice(w), w.samples);
    EXPECT_TRUE(ConvertForDevice(Wave{}).empty());
}

// Called with a sound no file within the limits gives, the conversion refuses it instead of
// resampling from a rate no sound card has or converting minutes of sound.
TEST(ConvertForDevice, RefusesSoundsBeyondTheLimits) {
    const struct {
        const char* what;
        Wave wave;
    } cases[] = {
        {"1 Hz", ConstantWave(1, 1, 20, 1000)},
        {"3999 Hz", ConstantWave(1, 3999, 400, 1000)},
        {"192001 Hz", ConstantWave(2, 192001, 400, 1000)},
        {"31 s", ConstantWave(1, 4000, 31 * 4000, 1000)},
        {"three channels", ConstantWave(3, 22050, 400, 1000)},
    };
    for (const auto& c : cases) EXPECT_TRUE(ConvertForDevice(c.wave).empty()) << c.what;
}

// A mono 16-bit wave file of the given length at 22050 Hz, in a fresh temporary directory.
class SdlSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("hopla-sdlsound-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, int ms, bool truncate = false) {
        return writeFrames(name, 22050u * ms / 1000, 22050, truncate);
    }
    // A mono 16-bit wave of `frames` at `rate`: 44 bytes and the samples.
    std::string writeFrames(const std::string& name, std::uint32_t frames, std::uint32_t rate,
                            bool truncate = false) {
        std::vector<std::uint8_t> b;
        auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
        auto u16 = [&](unsigned v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
        auto u32 = [&](std::uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        tag("RIFF");
        u32(36 + frames * 2);
        tag("WAVE");
        tag("fmt ");
        u32(16);
        u16(1);         // PCM
        u16(1);         // mono
        u32(rate);      // frames per second
        u32(rate * 2);  // bytes per second
        u16(2);         // bytes per frame
        u16(16);        // bits per sample
        tag("data");
        u32(frames * 2);
        for (std::uint32_t i = 0; i < frames; ++i) u16((i % 50) * 300);
        if (truncate) b.resize(b.size() / 2);
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return path;
    }

    std::filesystem::path dir_;
};

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

milliseconds TimePlay(SdlSound& sound, const std::string& path, bool wait) {
    const auto start = Steady::now();
    sound.play(path, wait);
    return std::chrono::duration_cast<milliseconds>(Steady::now() - start);
}

TEST_F(SdlSoundTest, WaitingLastsTheSoundOnADevice) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlSound sound;
    ASSERT_TRUE(sound.hasDevice());
    const std::string beep = write("beep.wav", 300);
    // The device takes a buffer ahead, so the end may be seen a buffer (12 ms) early.
    const milliseconds waited = TimePlay(sound, beep, true);
    EXPECT_GE(waited.count(), 300 - 25);
    EXPECT_LT(waited.count(), 300 + 1000);  // bounds generous: the machine may be busy
    EXPECT_LT(TimePlay(sound, beep, false).count(), 250);  // no wait: well under the 300
    sound.stop(false);
}

TEST_F(SdlSoundTest, ANewSoundCutsOffThePlayingOne) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlSound sound;
    ASSERT_TRUE(sound.hasDevice());
    sound.play(write("long.wav", 3000), false);
    // Waiting is for the new sound only: the long one is gone, not queued before it.
    const milliseconds waited = TimePlay(sound, write("short.wav", 100), true);
    EXPECT_GE(waited.count(), 100 - 25);
    EXPECT_LT(waited.count(), 1000);
}

// What the device is handed is the sound scaled by the volume, down to silence. The disk driver
// writes what it is handed to a file (without delay, so faster than the sound's time).
TEST_F(SdlSoundTest, TheVolumeScalesEverySample) {
    int full = 0;
    for (const int volume : {100, 30, 0}) {
        const std::string out = (dir_ / ("out-" + std::to_string(volume) + ".raw")).string();
        ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        ScopedEnv file("SDL_DISKAUDIOFILE", out.c_str());
        ScopedEnv delay("SDL_DISKAUDIODELAY", "0");
        {
            SdlSound sound;
            ASSERT_TRUE(sound.hasDevice());
            sound.setVolume(volume);
            sound.play(write("beep.wav", 200), true);
        }
        std::ifstream in(out, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        int loudest = 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto sample = static_cast<std::int16_t>(
                static_cast<std::uint8_t>(bytes[i]) | static_cast<std::uint8_t>(bytes[i + 1]) << 8);
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        }
        if (volume == 100) full = loudest;
        // The wave's loudest sample is 49 * 300, which resampling overshoots a little.
        EXPECT_GE(full, 14700);
        EXPECT_NEAR(loudest, full * volume / 100, 2) << volume;
    }
}

TEST_F(SdlSoundTest, WithoutADeviceWaitingStillLastsTheSound) {
    // No device to be had, or none wanted (--mute) where there is one.
    for (const auto& [driver, open] : {std::pair{"no-such-driver", true}, {"dummy", false}}) {
        ScopedEnv env("SDL_AUDIODRIVER", driver);
        SdlSound sound(open);
        EXPECT_FALSE(sound.hasDevice()) << driver;
        const milliseconds waited = TimePlay(sound, write("beep.wav", 200), true);
        EXPECT_GE(waited.count(), 200 - 1) << driver;
        EXPECT_LT(waited.count(), 200 + 1000) << driver;
    }
}

TEST_F(SdlSoundTest, MissingOrBrokenFilesAreSilenceWithoutWaiting) {
    for (const char* driver : {"dummy", "no-such-driver"}) {
        ScopedEnv env("SDL_AUDIODRIVER", driver);
        SdlSound sound;
        const std::string cases[] = {(dir_ / "missing.wav").string(),
                                     write("truncated.wav", 500, true), dir_.string(),
                                     writeFrames("one-hertz.wav", 20, 1),  // 84 bytes that say 20 s
                                     writeFrames("long.wav", 31 * 4000, 4000)};
        for (const std::string& path : cases)
            EXPECT_LT(TimePlay(sound, path, true).count(), 250) << driver << " " << path;
        sound.stop(false);
    }
}

// A file that is there but unplayable says so once, on the standard error, and is silence.
TEST_F(SdlSoundTest, AFileBeyondTheLimitsIsSilenceWithOneWarning) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlSound sound;
    const std::string path = writeFrames("one-hertz.wav", 20, 1);
    ::testing::internal::CaptureStderr();
    const milliseconds first = TimePlay(sound, path, true);
    const milliseconds again = TimePlay(sound, path, true);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_LT(first.count(), 250);
    EXPECT_LT(again.count(), 250);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("one-hertz.wav"), std::string::npos) << said;
    EXPECT_NE(said.find("1 Hz"), std::string::npos) << said;
}

}  // namespace
}  // namespace hopla
