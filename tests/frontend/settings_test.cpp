// The remembered settings: what a good file gives, and that every bad file is ignored with one
// warning and rewritten cleanly. Where they live and how the file is read and written safely is
// the platform's (tests/platform).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "frontend/Settings.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("hopla-settings-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "hopla");
        path_ = (dir_ / "hopla" / "settings.ini").string();
    }
    void TearDown() override {
        fs::permissions(dir_ / "hopla", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string read() {
        std::ifstream in(path_);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(SettingsFile, GoodFilesGiveTheirValues) {
    const struct {
        std::string text;
        Settings expected;
    } cases[] = {
        {"", {}},
        {"[window]\nscale = 3\nfullscreen = true\n", {3, true}},
        {"[window]\nscale=auto\nfullscreen=false\n", {std::nullopt, false}},
        {"; comment\n# comment\n[window]\r\nScale = 8\r\nFULLSCREEN = Yes\r\n", {8, true}},
        {"\xEF\xBB\xBF[window]\nfullscreen = on\n", {std::nullopt, true}},
        {"[window]\nscale = 2 ; chosen\n", {2, false}},
        {"[window]\nscaling = Integer\npause_when_unfocused = no\n[sound]\nvolume = 30\n",
         {std::nullopt, false, ScalingMode::Integer, 30, false}},
        {"[sound]\nvolume = 0\n[window]\nscaling = fit\n",
         {std::nullopt, false, ScalingMode::Fit, 0, true}},
    };
    for (const auto& c : cases) {
        write(c.text);
        const LoadedSettings loaded = LoadSettings(path_);
        EXPECT_EQ(loaded.warning, "") << c.text;
        EXPECT_EQ(loaded.settings, c.expected) << c.text;
    }
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsQuietly) {
    const LoadedSettings loaded = LoadSettings(path_);
    EXPECT_EQ(loaded.warning, "");
    EXPECT_EQ(loaded.settings, Settings{});
}

TEST_F(SettingsFile, BadFilesAreIgnoredWithOneWarningAndRewrittenCleanly) {
    const struct {
        std::string text;
        std::string why;
    } cases[] = {
        {"[window]\nscale = 9\n", "line 2: scale must be auto or a whole number from 1 to 8"},
        {"[window]\nscale = 2x\n", "line 2: scale must be auto or a whole number from 1 to 8"},
        {"[window]\nfullscreen = maybe\n", "line 2: fullscreen must be true or false"},
        {"[window]\ncolour = red\n", "line 2: unknown key 'colour'"},
        {"[window]\nco\xc2\x9b"
         "1m\xff = red\n",
         "line 2: unknown key 'co\\xc2\\x9b"
         "1m\\xff'"},
        {"scale = 2\n", "line 1: unknown section []"},
        {"[keyboard]\nleft = a\n", "line 2: unknown section [keyboard]"},
        {"[sound]\nvolume = 101\n", "line 2: volume must be a whole number from 0 to 100"},
        {"[sound]\nscale = 2\n", "line 2: unknown key 'scale'"},
        {"[window]\nscaling = stretch\n", "line 2: scaling must be integer or fit"},
        {"[window]\npause_when_unfocused = 2\n",
         "line 2: pause_when_unfocused must be true or false"},
        {"just some words\n", "line 1: not a setting"},
        {std::string("[window]\nscale = 2\0\n", 20), "not a text file"},
        {"\x7f"
         "ELF\x02\x01\x01\x00\x00\x00",
         "not a text file"},
        {"[window]\nscale = " + std::string(300, '2') + "\n", "line 2 is too long"},
        {std::string(1 << 20, 'x'), "larger than 4096 bytes"},
    };
    for (const auto& c : cases) {
        write(c.text);
        const LoadedSettings loaded = LoadSettings(path_);
        EXPECT_EQ(loaded.warning, "ignoring " + path_ + ": " + c.why) << c.text.substr(0, 40);
        EXPECT_EQ(loaded.warning.find('\n'), std::string::npos);
        EXPECT_EQ(loaded.settings, Settings{});
        // The next change writes a clean file, which reads back as written.
        const Settings chosen{4, true, ScalingMode::Integer, 70, false};
        ASSERT_EQ(SaveSettings(path_, chosen), std::nullopt);
        EXPECT_EQ(read(), FormatSettings(chosen));
        EXPECT_EQ(LoadSettings(path_).settings, chosen);
    }
}

}  // namespace
}  // namespace hopla
