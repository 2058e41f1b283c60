// The platform on Linux: the desktop's directories from the environment, small files read
// without waiting on what is not a file, files replaced whole with their directories made.
// (The settings tests read and write through it too.)
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

// The environment variables the directories come from, each set (or unset, for null) for the
// test and put back afterwards.
class DesktopEnv {
  public:
    DesktopEnv(const char* configHome, const char* dataHome, const char* picturesDir,
               const char* home) {
        set(0, configHome);
        set(1, dataHome);
        set(2, picturesDir);
        set(3, home);
    }
    ~DesktopEnv() {
        for (int i = 0; i < 4; ++i) put(kNames[i], old_[i] ? old_[i]->c_str() : nullptr);
    }
    DesktopEnv(const DesktopEnv&) = delete;
    DesktopEnv& operator=(const DesktopEnv&) = delete;

  private:
    static constexpr const char* kNames[4] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                              "XDG_PICTURES_DIR", "HOME"};
    static void put(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    void set(int i, const char* value) {
        if (const char* old = std::getenv(kNames[i])) old_[i] = old;
        put(kNames[i], value);
    }
    std::optional<std::string> old_[4];
};

class PlatformFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("hopla-platform-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "hopla");
        path_ = (dir_ / "hopla" / "file").string();
    }
    void TearDown() override {
        fs::permissions(dir_ / "hopla", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path dir_;
    std::string path_;
};

TEST(PlatformDirs, FollowTheXdgVariablesThenHome) {
    const struct {
        const char* configHome;
        const char* dataHome;
        const char* home;
        std::string settings;
        std::string records;
    } cases[] = {
        {"/x/cfg", "/x/data", "/home/p", "/x/cfg/hopla", "/x/data/hopla"},
        {"/x/cfg//", "/x/data/", nullptr, "/x/cfg/hopla", "/x/data/hopla"},
        {nullptr, nullptr, "/home/p", "/home/p/.config/hopla", "/home/p/.local/share/hopla"},
        {"", "", "/home/p", "/home/p/.config/hopla", "/home/p/.local/share/hopla"},
        {"relative", "rel", "/home/p", "/home/p/.config/hopla", "/home/p/.local/share/hopla"},
        {nullptr, nullptr, "relative", "", ""},
        {nullptr, nullptr, nullptr, "", ""},
    };
    for (const auto& c : cases) {
        DesktopEnv env(c.configHome, c.dataHome, nullptr, c.home);
        EXPECT_EQ(SettingsDir(), c.settings) << (c.configHome ? c.configHome : "(unset)");
        EXPECT_EQ(RecordsDir(), c.records) << (c.dataHome ? c.dataHome : "(unset)");
    }
}

TEST_F(PlatformFiles, ScreenshotsGoToThePicturesFolderTheDesktopNames) {
    const std::string config = (dir_ / "hopla").string();
    const struct {
        std::optional<std::string> userDirs;  // user-dirs.dirs, when there is one
        const char* picturesEnv;
        const char* home;
        std::string expected;
    } cases[] = {
        {std::nullopt, nullptr, "/home/p", "/home/p/Pictures/Hopla"},
        {std::nullopt, "/x/pics/", "/home/p", "/x/pics/Hopla"},
        {std::nullopt, "relative", "/home/p", "/home/p/Pictures/Hopla"},
        {std::nullopt, nullptr, nullptr, ""},
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n",
         "/x/pics", "/home/p", "/home/p/Bilder/Hopla"},
        {"  XDG_PICTURES_DIR=\"/srv/pics/\"  \n", nullptr, "/home/p", "/srv/pics/Hopla"},
        {"XDG_PICTURES_DIR=\"$HOME\"\n", nullptr, "/home/p", "/home/p/Hopla"},
        // The last line for the key counts, as for the shell.
        {"XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", nullptr, "/home/p", "/b/Hopla"},
        // What is not written the simple way is left to the fallbacks.
        {"XDG_PICTURES_DIR=\"$XDG_DATA_HOME/pics\"\n", "/x/pics", "/home/p", "/x/pics/Hopla"},
        {"XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"pics\"\n", nullptr, "/home/p",
         "/home/p/Pictures/Hopla"},
        {"XDG_PICTURES_DIR=$HOME/pics\n", nullptr, "/home/p", "/home/p/Pictures/Hopla"},
        {"XDG_PICTURES_DIR=\"$HOMEpics\"\n", nullptr, "/home/p", "/home/p/Pictures/Hopla"},
        {"XDG_PICTURES_DIRS=\"/a\"\n", nullptr, "/home/p", "/home/p/Pictures/Hopla"},
        {"XDG_PICTURES_DIR=\"$HOME/pics\"\n", nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        fs::remove(dir_ / "hopla" / "user-dirs.dirs");
        if (c.userDirs) write(dir_ / "hopla" / "user-dirs.dirs", *c.userDirs);
        DesktopEnv env(config.c_str(), nullptr, c.picturesEnv, c.home);
        EXPECT_EQ(ScreenshotsDir(), c.expected) << c.userDirs.value_or("(no file)");
    }
}

TEST_F(PlatformFiles, WhatIsNotAFileIsRefusedWithoutWaiting) {
    fs::create_directory(path_);  // a directory in its place
    EXPECT_EQ(ReadSmallFile(path_, 4096).error, "not a regular file");
    fs::remove(path_);
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);  // a pipe nobody writes: never waited on
    EXPECT_EQ(ReadSmallFile(path_, 4096).error, "not a regular file");
    fs::remove(path_);
    if (::geteuid() != 0) {  // root reads anything
        write(path_, "text");
        fs::permissions(path_, fs::perms::none);
        const SmallFile denied = ReadSmallFile(path_, 4096);
        EXPECT_FALSE(denied.text);
        EXPECT_EQ(denied.error, "Permission denied");
    }
}

TEST_F(PlatformFiles, ReplacingMakesTheDirectoriesAndWritesTheWholeFile) {
    const fs::path deep = dir_ / "new" / "hopla" / "file";
    ASSERT_EQ(ReplaceFile(deep.string(), "first"), std::nullopt);
    ASSERT_EQ(ReplaceFile(deep.string(), std::string(100'000, 'x')), std::nullopt);
    EXPECT_EQ(ReadSmallFile(deep.string(), 100'000).text, std::string(100'000, 'x'));
    // No temporary file is left beside it; the directories made are the user's own.
    EXPECT_EQ(std::distance(fs::directory_iterator(deep.parent_path()), {}), 1);
    EXPECT_EQ(fs::status(dir_ / "new").permissions(), fs::perms::owner_all);
}

TEST_F(PlatformFiles, WhatCannotBeWrittenIsReportedNotThrown) {
    // A plain file where the directory should be stops even root.
    write(path_, "");
    const std::optional<std::string> error = ReplaceFile(path_ + "/deeper/file", "x");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "cannot write " + path_ + "/deeper/file: Not a directory");
    // /proc takes no new directories, not even from root.
    EXPECT_TRUE(ReplaceFile("/proc/hopla-platform-test/hopla/file", "x"));
    if (::geteuid() != 0) {
        fs::permissions(dir_ / "hopla", fs::perms::owner_read | fs::perms::owner_exec);
        const std::optional<std::string> denied = ReplaceFile(path_, "x");
        ASSERT_TRUE(denied);
        EXPECT_EQ(*denied, "cannot write " + path_ + ": Permission denied");
    }
}

// The one rule of every writer: what is at the path decides, before anything is written.
TEST_F(PlatformFiles, EveryWriterFollowsOneRule) {
    const std::string d = (dir_ / "hopla").string();
    write(d + "/target", "old");
    fs::create_symlink("target", d + "/link");
    fs::create_symlink("gone", d + "/dangling");
    fs::create_symlink("loop", d + "/loop");
    ASSERT_EQ(::mkfifo((d + "/fifo").c_str(), 0600), 0);
    fs::create_directory(d + "/folder");
    write(d + "/kept", "old");
    const struct {
        std::string path;
        WriteRule rule;
        std::string error;    // empty: written
        std::string written;  // the file that holds "new" afterwards
    } cases[] = {
        {d + "/target", kTypedPath, "", d + "/target"},
        {d + "/link", kTypedPath, "", d + "/target"},  // through the link, which stays one
        {d + "/dangling", kTypedPath, "", d + "/gone"},
        {d + "/new", kTypedPath, "", d + "/new"},
        {d + "/fifo", kTypedPath, "not a regular file", ""},
        {"/dev/null", kTypedPath, "not a regular file", ""},
        {d + "/folder", kTypedPath, "not a regular file", ""},
        {d + "/loop", kTypedPath, "Too many levels of symbolic links", ""},
        {d + "/kept", WriteRule{true, false}, "already exists", ""},
        {d + "/missing/file", kTypedPath, "No such file or directory", ""},
        {d + "/made/file", WriteRule{}, "", d + "/made/file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WhyNotWritable(c.path, c.rule).value_or(""), c.error) << c.path;
        const std::optional<std::string> error = ReplaceFile(c.path, "new", c.rule);
        EXPECT_EQ(error.value_or(""),
                  c.error.empty() ? "" : "cannot write " + c.path + ": " + c.error);
        if (!c.written.empty()) {
            EXPECT_EQ(ReadSmallFile(c.written, 16).text, "new") << c.path;
        }
    }
    EXPECT_TRUE(fs::is_symlink(d + "/link"));
    EXPECT_EQ(ReadSmallFile(d + "/kept", 16).text, "old");
    EXPECT_FALSE(fs::exists(d + "/missing"));
}

// A full disk leaves the old file whole, and says so. A small file system of its own needs root.
TEST_F(PlatformFiles, AFullDiskKeepsTheOldFile) {
    const fs::path mount = dir_ / "small";
    fs::create_directory(mount);
    if (::geteuid() != 0 || ::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small tmpfs needs root (mounting one failed or was not tried)";
    const std::string path = (mount / "records.txt").string();
    ASSERT_EQ(ReplaceFile(path, std::string(20'000, 'a')), std::nullopt);
    const std::optional<std::string> error = ReplaceFile(path, std::string(200'000, 'b'));
    ::umount(mount.c_str());
    ASSERT_TRUE(error);
    EXPECT_EQ(*error,
              "cannot write " + path + ": No space left on device (the file as it was is kept)");
}

}  // namespace
}  // namespace hopla
