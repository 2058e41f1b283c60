// The settings: what a good file gives, that a bad line is skipped with one warning naming it
// and the rest kept, that a file that is no text is ignored whole, and that a rewrite keeps the
// player's lines and links. Where they live and how the file is read and written safely is the
// platform's (tests/platform).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <SDL_keycode.h>

#include "frontend/KeyCodes.h"
#include "shell/Settings.h"

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
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
    std::string path_;
};

// The [play] section as a new file has it.
const std::string kPlay =
    "[play]\nspeed = 100\nrace_overlay = false\nghost = false\nghost_run = game\n";

Settings With(std::optional<int> scale, bool fullscreen, KeyBindings keys = {}) {
    Settings s;
    s.scale = scale;
    s.fullscreen = fullscreen;
    s.keys = std::move(keys);
    return s;
}

TEST_F(SettingsFile, GoodFilesGiveTheirValues) {
    const KeyBindings vim = {{SDLK_h}, {SDLK_l, SDLK_RIGHT}, {SDLK_BACKSPACE, SDLK_KP_0}};
    KeyBindings pads;
    pads.padLeft = {static_cast<int>(PadButton::West)};
    pads.padBack = {static_cast<int>(PadButton::DpadLeft), static_cast<int>(PadButton::Start)};
    const struct {
        std::string text;
        Settings expected;
    } cases[] = {
        {"", {}},
        {"[window]\nscale = 3\nfullscreen = true\n", With(3, true)},
        {"[window]\nscale=auto\nfullscreen=false\n", With(std::nullopt, false)},
        {"; comment\n# comment\n[window]\r\nScale = 8\r\nFULLSCREEN = Yes\r\n", With(8, true)},
        {"\xEF\xBB\xBF[window]\nfullscreen = on\n", With(std::nullopt, true)},
        {"[window]\nscale = 2 ; chosen\n", With(2, false)},
        {"[keys]\nleft = h\nright = L, Right\nback = Backspace, keypad 0\n", With({}, false, vim)},
        {"[keys]\npad_left = X\npad_back = dpleft, Start\n", With({}, false, pads)},
        {"[window]\nscaling = Integer\npause_when_unfocused = no\n[sound]\nvolume = 30\n",
         {std::nullopt, false, ScalingMode::Integer, 30, false}},
        {"[sound]\nvolume = 0\n[window]\nscaling = fit\n",
         {std::nullopt, false, ScalingMode::Fit, 0, true}},
        {"[play]\nspeed = 75\nrace_overlay = yes\nghost = on\nghost_run = Stages\n",
         {std::nullopt, false, ScalingMode::Fit, 100, true, {}, 75, true, true, true}},
    };
    for (const auto& c : cases) {
        write(c.text);
        const LoadedSettings loaded = LoadSettings(path_, KeyFromName);
        EXPECT_EQ(loaded.warnings, std::vector<std::string>()) << c.text;
        EXPECT_EQ(loaded.settings, c.expected) << c.text;
        // What the file sets is told apart from a default (a small screen's whole screen).
        EXPECT_EQ(loaded.given.contains(Setting::Fullscreen),
                  c.text.find("ullscreen") != std::string::npos ||
                      c.text.find("FULLSCREEN") != std::string::npos)
            << c.text;
    }
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsQuietly) {
    const LoadedSettings loaded = LoadSettings(path_, KeyFromName);
    EXPECT_TRUE(loaded.warnings.empty());
    EXPECT_EQ(loaded.settings, Settings{});
    EXPECT_TRUE(loaded.given.empty());
}

// Each bad line is one warning naming it and is skipped; the good lines around it count.
TEST_F(SettingsFile, ABadLineIsWarnedAboutAndSkippedTheRestKept) {
    const std::string around = "[window]\nscale = 3\n";
    const struct {
        std::string line;
        std::string why;
        int number = 3;  // of the bad line
    } cases[] = {
        {"scale = 9", "scale must be auto or a whole number from 1 to 8"},
        {"scale = 2x", "scale must be auto or a whole number from 1 to 8"},
        {"fullscreen = maybe", "fullscreen must be true or false"},
        {"colour = red", "unknown key 'colour' in [window]"},
        {"co\xc2\x9b"
         "1m\xff = red",
         "unknown key 'co\\xc2\\x9b"
         "1m\\xff' in [window]"},
        {"[sounds]\nvolume = 3\n[window]", "unknown section [sounds]"},
        {"[sound]\nvolume = 101\n[window]", "volume must be a whole number from 0 to 100", 4},
        {"[sound]\nscale = 2\n[window]", "unknown key 'scale' in [sound]", 4},
        {"scaling = stretch", "scaling must be integer or fit"},
        {"[play]\nspeed = 60\n[window]", "speed must be 100, 90, 75 or 50", 4},
        {"pause_when_unfocused = 2", "pause_when_unfocused must be true or false"},
        {"just some words", "not a setting"},
        {"[keys]\nleft = Left, Nokey\n[window]", "'Nokey' is no key name SDL knows", 4},
        {"[keys]\nback =\n[window]", "'' is no key name SDL knows", 4},
        {"[keys]\npad_left = a, zr\n[window]", "'zr' is no button name SDL knows", 4},
        {"scale = " + std::string(300, '2'), "too long"},
    };
    for (const auto& c : cases) {
        write(around + c.line + "\nfullscreen = true\n");
        const LoadedSettings loaded = LoadSettings(path_, KeyFromName);
        ASSERT_EQ(loaded.warnings.size(), 1u) << c.line;
        EXPECT_EQ(loaded.warnings[0],
                  path_ + ":" + std::to_string(c.number) + ": " + c.why + "; the line is skipped")
            << c.line;
        EXPECT_EQ(loaded.settings, With(3, true)) << c.line;
    }
    write("scale = 2\n[window]\nfullscreen = yes\n");
    EXPECT_EQ(
        LoadSettings(path_, KeyFromName).warnings,
        std::vector<std::string>{path_ + ":1: 'scale' is outside a section; the line is skipped"});
}

TEST_F(SettingsFile, WhatIsNoTextFileIsIgnoredWholeAndWrittenAnew) {
    const struct {
        std::string text;
        std::string why;
    } cases[] = {
        {std::string("[window]\nscale = 2\0\n", 20), "not a text file"},
        {"\x7f"
         "ELF\x02\x01\x01\x00\x00\x00",
         "not a text file"},
        {std::string(1 << 20, 'x'), "larger than 4096 bytes"},
    };
    for (const auto& c : cases) {
        write(c.text);
        const LoadedSettings loaded = LoadSettings(path_, KeyFromName);
        EXPECT_EQ(loaded.warnings, std::vector<std::string>{"ignoring " + path_ + ": " + c.why});
        EXPECT_EQ(loaded.settings, Settings{});
        ASSERT_EQ(SaveSettings(path_, With(4, true)), std::nullopt);
        EXPECT_EQ(read(), FormatSettings(With(4, true)));
        EXPECT_EQ(LoadSettings(path_, KeyFromName).settings, With(4, true));
    }
}

// A rewrite changes the window's values only: comments, key bindings and lines the game does not
// know stay where they were.
TEST_F(SettingsFile, ARewriteKeepsEveryLineButTheValuesItOwns) {
    const std::string kOwned =
        "[window]\nscale = 4\nfullscreen = true\nscaling = fit\npause_when_unfocused = true\n"
        "[sound]\nvolume = 100\n" +
        kPlay;
    KeyBindings mine;  // changed from the menu
    mine.left = {SDLK_h};
    mine.padBack = {static_cast<int>(PadButton::Start), static_cast<int>(PadButton::West)};
    const struct {
        std::string before;
        std::string after;
        bool keys = false;  // the key bindings written too
    } cases[] = {
        {"", FormatSettings(With(4, true))},
        {"", FormatSettings(With(4, true)) + "[keys]\nleft = H\npad_back = start, x\n", true},
        {"[keys]\nleft = J\nright = K ; mine\n# end\n",
         "[keys]\nleft = H\n# end\npad_back = start, x\n" + kOwned, true},
        {"# mine\n[window]\nscale = auto ; big\r\nfullscreen=no\nmystery = 1\n\n[keys]\nleft = J\n"
         "[sound]\nvolume = 5\n",
         "# mine\n[window]\nscale = 4 ; big\r\nfullscreen=true\nmystery = 1\nscaling = fit\n"
         "pause_when_unfocused = true\n\n[keys]\nleft = J\n[sound]\nvolume = 100\n" +
             kPlay},
        {"[keys]\nback = Return\n", "[keys]\nback = Return\n" + kOwned},
        {"[window]\nscale = 1\n\n[other]\nx = y\n",
         "[window]\nscale = 4\nfullscreen = true\nscaling = fit\npause_when_unfocused = true\n\n"
         "[other]\nx = y\n[sound]\nvolume = 100\n" +
             kPlay},
    };
    for (const auto& c : cases) {
        write(c.before);
        const KeyNamer names = KeyNames;
        ASSERT_EQ(SaveSettings(path_, With(4, true, mine), c.keys ? &names : nullptr),
                  std::nullopt);
        EXPECT_EQ(read(), c.after) << c.before;
        const Settings loaded = LoadSettings(path_, KeyFromName).settings;
        EXPECT_EQ(loaded.scale, 4) << c.before;
        if (c.keys) {
            EXPECT_EQ(loaded.keys, mine) << c.before;
        }
    }
}

// A settings.ini that links elsewhere (a dotfiles folder) stays a link; its target is replaced.
TEST_F(SettingsFile, ALinkedFileIsWrittenThroughTheLink) {
#ifdef _WIN32
    GTEST_SKIP()
        << "symbolic links need rights on Windows; the settings file is replaced where it is";
#endif
    fs::create_directories(dir_ / "dotfiles");
    std::ofstream(dir_ / "dotfiles" / "hopla.ini") << "[keys]\nleft = J\n";
    fs::create_symlink("../dotfiles/hopla.ini", path_);
    ASSERT_EQ(SaveSettings(path_, With(2, false)), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(read(),
              "[keys]\nleft = J\n[window]\nscale = 2\nfullscreen = false\nscaling = fit\n"
              "pause_when_unfocused = true\n[sound]\nvolume = 100\n" +
                  kPlay);
}

}  // namespace
}  // namespace hopla
