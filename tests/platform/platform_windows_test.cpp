// The platform on Windows (run under wine): paths with letters outside ASCII in and out of the
// file calls, what is not a file refused, files replaced whole with their folders made, the
// known folders, the font beside the executable, and waits that never end early.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

// A path from the platform's UTF-8.
fs::path FromUtf8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const fs::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

class WindowsFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        // A folder of each test's own: ctest runs the tests of this file side by side.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir_ = fs::temp_directory_path() / FromUtf8("hopla Prüfung ÿ 日本 " + test);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return Utf8(dir_ / FromUtf8(name)); }

    fs::path dir_;
};

TEST_F(WindowsFiles, ReadSmallFileTellsEachKindOfPath) {
    std::ofstream(FromUtf8(at("café.ini")), std::ios::binary) << "[window]\nscale = 2\n";
    std::ofstream(FromUtf8(at("big")), std::ios::binary) << std::string(65, 'x');
    std::ofstream(FromUtf8(at("exact")), std::ios::binary) << std::string(64, 'x');
    fs::create_directories(FromUtf8(at("folder")));
    const struct {
        std::string path;
        bool text;
        std::string error;
    } cases[] = {
        {at("café.ini"), true, ""},
        {at("exact"), true, ""},
        {at("big"), false, "larger than 64 bytes"},
        {at("folder"), false, "not a regular file"},
        {at("missing"), false, ""},
        {at("missing folder/file"), false, ""},
        {"NUL", false, "not a regular file"},
    };
    for (const auto& c : cases) {
        const SmallFile file = ReadSmallFile(c.path, 64);
        EXPECT_EQ(file.text.has_value(), c.text) << c.path;
        EXPECT_EQ(file.error, c.error) << c.path;
    }
    EXPECT_EQ(*ReadSmallFile(at("café.ini"), 64).text, "[window]\nscale = 2\n");
}

TEST_F(WindowsFiles, ReplaceFileMakesTheFoldersAndReplacesWhole) {
    const std::string path = at("neu/ordner/settings.ini");
    EXPECT_EQ(ReplaceFile(path, "first, longer text\n"), std::nullopt);
    EXPECT_EQ(ReplaceFile(path, "second\n"), std::nullopt);
    EXPECT_EQ(*ReadSmallFile(path, 100).text, "second\n");
    // Only the file itself is left: no temporary file beside it.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(FromUtf8(at("neu/ordner"))), fs::directory_iterator()),
        1);
    // A file where a folder should be is reported in one line.
    std::ofstream(FromUtf8(at("plain")), std::ios::binary) << "x";
    const std::optional<std::string> error = ReplaceFile(at("plain/settings.ini"), "x");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("plain"), std::string::npos) << *error;
    EXPECT_EQ(error->find('\n'), std::string::npos) << *error;
}

TEST(WindowsPlaces, FoldersAndTheShippedFont) {
    const std::string exe = ExecutableDir();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), '\\');
    EXPECT_TRUE(fs::is_directory(FromUtf8(exe)));
    for (const std::string& dir : {SettingsDir(), RecordsDir(), ScreenshotsDir()}) {
        ASSERT_FALSE(dir.empty());
        EXPECT_NE(dir.back(), '\\') << dir;
    }
    EXPECT_TRUE(SettingsDir().ends_with("\\hopla")) << SettingsDir();
    EXPECT_TRUE(ScreenshotsDir().ends_with("\\Hopla")) << ScreenshotsDir();
    // The build puts the font beside the programs, as the zip does; every face is drawn with it.
    EXPECT_EQ(FindFontFile("MS PGothic"), exe + "ipagp.ttf");
    EXPECT_EQ(FindFontFile("any face at all"), exe + "ipagp.ttf");
    EXPECT_FALSE(KeyRepeat(nullptr));
    EXPECT_FALSE(WindowManagerRuns(nullptr));
}

TEST(WindowsTime, SleepUntilNeverWakesEarly) {
    using namespace std::chrono;
    for (const auto wait : {microseconds(0), microseconds(300), microseconds(1500),
                            microseconds(4000), microseconds(16667)}) {
        const auto deadline = steady_clock::now() + wait;
        SleepUntil(deadline);
        EXPECT_GE(steady_clock::now(), deadline) << wait.count() << " us";
    }
}

}  // namespace
}  // namespace hopla
