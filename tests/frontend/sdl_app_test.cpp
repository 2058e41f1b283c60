// The real loop with a controller plugged in: SDL's invisible video driver, a virtual controller
// pressed between rounds of the loop or held from another thread, the inputs the game is handed
// and the window's picture.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "frontend/SdlApp.h"
#include "shell/Overlay.h"
#include "shell/Scaling.h"
#include "support/SdlTesting.h"
#include "toolkit/text/TtfText.h"

namespace hopla {
namespace {

using std::chrono::milliseconds;

using testing::ScopedEnv;
using testing::VirtualPad;

TEST(SdlApp, AControllerSteersTheRealLoopWithTheKeyboardsRepeat) {
    ::testing::internal::CaptureStderr();
    ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    SdlLibrary sdl;
    const VirtualPad pad;
    ASSERT_TRUE(pad.error.empty()) << pad.error;

    // Nowhere to write the settings (their folder is a file): said once on standard error, and
    // play goes on.
    const std::string notDir =
        ::testing::TempDir() + "hopla-not-a-dir-" + std::to_string(::getpid());
    std::ofstream(notDir) << "a file\n";
    std::vector<Routed> seen;
    {
        AppOptions options;
        options.settings.scale = 1;
        options.mute = true;
        options.settingsPath = notDir + "/settings.ini";
        SdlApp app(1, HOPLA_BUILD_DIR, options);
        app.setInputObserver([&](const Routed& input) { seen.push_back(input); });
        // No X server: the keyboard's repeat is the X server's default, 660 ms then every 40.
        std::jthread player([&pad] {
            // A window key first, twice: it toggles the whole screen, the game never sees it.
            for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_KEYDOWN, SDL_KEYUP}) {
                SDL_Event key{};
                key.type = type;
                key.key.keysym.sym = SDLK_F11;
                SDL_PushEvent(&key);
            }
            std::this_thread::sleep_for(milliseconds(100));
            pad.set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
            // Held long past the repeat's delay, so that a loop kept waiting on a busy machine
            // still sees the press and the release far enough apart.
            std::this_thread::sleep_for(milliseconds(2000));
            pad.set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
            std::this_thread::sleep_for(milliseconds(100));
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        });
        app.run();
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    std::remove(notDir.c_str());
    EXPECT_EQ(said.rfind("hopla: settings not saved: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    // Held 2 s: the press, then repeats from 660 ms on every 40 ms (about 33), the release.
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), (Routed{Command::KeyDown, 39}));
    EXPECT_EQ(seen.back(), (Routed{Command::KeyUp, 39}));
    const auto downs = std::count(seen.begin(), seen.end(), Routed{Command::KeyDown, 39});
    EXPECT_GE(downs, 4);
    EXPECT_LE(downs, 40);
    EXPECT_EQ(static_cast<std::size_t>(downs) + 1, seen.size());
}

// The Keys page by a controller alone: Left given to X, then every button back to its default.
TEST(SdlApp, AControllerAloneRebindsAButtonAndResetsThem) {
    ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    SdlLibrary sdl;
    const VirtualPad pad;
    ASSERT_TRUE(pad.error.empty()) << pad.error;
    const std::string path =
        ::testing::TempDir() + "hopla-rebind-" + std::to_string(::getpid()) + ".ini";
    std::remove(path.c_str());
    std::vector<Routed> seen;
    std::string saved;
    {
        AppOptions options;
        options.settings.scale = 1;
        options.mute = true;
        options.settingsPath = path;
        SdlApp app(1, HOPLA_BUILD_DIR, options);
        app.setInputObserver([&](const Routed& input) { seen.push_back(input); });
        using B = SDL_GameControllerButton;
        const auto press = [&](B button, int times = 1) { pad.press(app, button, times); };
        // The menu opens on Resume; up goes round to Quit, Records, then Keys.
        const auto toKeysPage = [&] {
            press(SDL_CONTROLLER_BUTTON_GUIDE);
            press(SDL_CONTROLLER_BUTTON_DPAD_UP, 3);
            press(SDL_CONTROLLER_BUTTON_A);
        };
        app.step();  // the controller plugged in
        toKeysPage();
        // Left's row asks for a button: A is refused (the menu's), X taken.
        for (const B b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_A,
                          SDL_CONTROLLER_BUTTON_X})
            press(b);
        for (const B b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_GUIDE,
                          SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_LEFT})
            press(b);
        {  // closed before the game writes the file again, as Windows asks
            std::ifstream in(path);
            saved.assign(std::istreambuf_iterator<char>(in), {});
        }
        toKeysPage();
        press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 3);
        for (const B b :
             {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_GUIDE,
              SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_LEFT})
            press(b);
    }
    std::string reset;
    {
        std::ifstream in(path);
        reset.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::remove(path.c_str());
    EXPECT_NE(saved.find("[keys]\npad_left = x\n"), std::string::npos) << saved;
    EXPECT_EQ(reset.find("pad_left"), std::string::npos) << reset;
    // X steered left while it was bound, the d-pad's left only after the reset.
    const Routed down{Command::KeyDown, 37}, up{Command::KeyUp, 37};
    EXPECT_EQ(seen, (std::vector<Routed>{down, up, down, up}));
}

void Push(Uint32 type, SDL_Keycode key) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

// `picture` as the window shows it in `layout`: enlarged in blocks, or fitted.
Image Enlarged(const Image& picture, const Layout& layout) {
    Image out(layout.width, layout.height);
    if (layout.blocks(picture.width, picture.height)) {
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                out.at(x, y) = picture.at(x / layout.scale, y / layout.scale);
    } else {
        FitScaler(picture.width, picture.height, out.width, out.height)
            .scale(picture.pixels.data(), static_cast<std::size_t>(picture.width),
                   {0, 0, out.width, out.height}, out.pixels.data(),
                   static_cast<std::size_t>(out.width));
    }
    return out;
}

// The menu's key line in the window of a first start (on a small screen, the whole of it,
// fitted), after a press of each maker's controller and after a key: each time as the shell
// draws it for that controller or for the keyboard. The window's picture is read back from SDL,
// through the X server when HOPLA_TEST_VIDEO=x11 (the e2e_keyline test, on a screen of 1280 x
// 800).
TEST(SdlApp, TheKeyLineNamesTheButtonsOrKeysPressedLast) {
    const testing::TestVideo video;
    const std::pair<testing::PadMaker, InputFamily> makers[] = {
        {testing::PadMaker::Xbox, InputFamily::Xbox},
        {testing::PadMaker::PlayStation, InputFamily::PlayStation},
        {testing::PadMaker::Nintendo, InputFamily::Nintendo},
    };
    for (const auto& [maker, family] : makers) {
        SCOPED_TRACE(MenuHint(family));
        SdlLibrary sdl;
        const VirtualPad pad(maker);
        ASSERT_TRUE(pad.error.empty()) << pad.error;
        AppOptions options;
        options.mute = true;
        options.fullscreenChosen = false;
        SdlApp app(1, HOPLA_BUILD_DIR, options);
        app.step();  // the controller plugged in
        pad.set(SDL_CONTROLLER_BUTTON_GUIDE, true);
        app.step();
        pad.set(SDL_CONTROLLER_BUTTON_GUIDE, false);
        app.step();
        ASSERT_TRUE(app.menu().isOpen());
        const Image afterButton = testing::WindowPicture(app.screen().window());
        Push(SDL_KEYDOWN, SDLK_q);  // a key of nothing: only the names change
        Push(SDL_KEYUP, SDLK_q);
        app.step();
        const Image afterKey = testing::WindowPicture(app.screen().window());

        // What the shell draws for each, and the part where the two differ: the key line.
        const TtfText text;
        Overlay overlay(text);
        const Layout layout = app.screen().layout();
        const auto drawn = [&](InputFamily input) {
            MenuValues values;
            values.input = input;
            return Enlarged(overlay.menu(app.game().picture(), app.menu().view(values, {}, {})),
                            layout);
        };
        const Image forButton = drawn(family), forKey = drawn(InputFamily::Keyboard);
        Rect line{forKey.width, forKey.height, 0, 0};
        for (int y = 0; y < forKey.height; ++y)
            for (int x = 0; x < forKey.width; ++x)
                if (forKey.at(x, y) != forButton.at(x, y))
                    line = {std::min(line.left, x), std::min(line.top, y),
                            std::max(line.right, x + 1), std::max(line.bottom, y + 1)};
        ASSERT_FALSE(line.empty());
        EXPECT_LT(line.height(), layout.height / 20);  // one line of text
        ASSERT_GE(afterButton.width, layout.x + layout.width);
        int offButton = 0, offKey = 0;
        for (int y = line.top; y < line.bottom; ++y)
            for (int x = line.left; x < line.right; ++x) {
                offButton += afterButton.at(layout.x + x, layout.y + y) != forButton.at(x, y);
                offKey += afterKey.at(layout.x + x, layout.y + y) != forKey.at(x, y);
            }
        EXPECT_EQ(offButton, 0);
        EXPECT_EQ(offKey, 0);
    }
}

void PushMotion(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    SDL_PushEvent(&event);
}

// The shell in the real loop, keys and pointer as SDL events: a motion of a pointer that stayed
// where it was (SDL sends one when the window changes size) leaves the menu's highlight where
// the keys put it, and a setting changed in the game is saved while the command line's value
// for this run is not.
TEST(SdlApp, TheShellKeepsTheKeysHighlightAndSavesOnlyThePlayersChanges) {
    ::testing::internal::CaptureStderr();
    ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    SdlLibrary sdl;
    const std::string path = std::string(HOPLA_BUILD_DIR) + "/sdl-app-test-settings.ini";
    std::remove(path.c_str());
    AppOptions options;
    options.settings.scale = 1;
    options.settings.volume = 20;  // --volume 20
    options.mute = true;
    options.settingsPath = path;
    SdlApp app(1, HOPLA_BUILD_DIR, options);

    Push(SDL_KEYDOWN, SDLK_ESCAPE);
    app.step();
    ASSERT_TRUE(app.menu().isOpen());
    int volumeY = -1;  // a place on the Volume row, found by moving the pointer down
    for (int y = 0; y < Game::kHeight && volumeY < 0; y += 4) {
        PushMotion(400, y);
        app.step();
        if (app.menu().selected() == 3) volumeY = y;
    }
    ASSERT_GE(volumeY, 0);
    Push(SDL_KEYDOWN, SDLK_DOWN);
    app.step();
    EXPECT_EQ(app.menu().selected(), 4);
    PushMotion(400, volumeY);  // the pointer did not move
    app.step();
    EXPECT_EQ(app.menu().selected(), 4);
    PushMotion(400, volumeY + 1);
    app.step();
    EXPECT_EQ(app.menu().selected(), 3);

    Push(SDL_KEYDOWN, SDLK_F11);
    app.step();
    std::ifstream in(path);
    const std::string saved{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(saved.find("fullscreen = true\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("volume = 100\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("scale = auto\n"), std::string::npos) << saved;
    std::remove(path.c_str());
    ::testing::internal::GetCapturedStderr();
}

// The race overlay, Tab, is drawn over a copy of the game's picture, never into it: the
// picture stays the same with it on or off, and off the panel nothing differs.
TEST(SdlApp, TheRaceOverlayLeavesTheGamesPictureAlone) {
    ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    SdlLibrary sdl;
    AppOptions options;
    options.settings.scale = 1;
    options.mute = true;
    SdlApp app(1, HOPLA_BUILD_DIR, options);
    for (int i = 0; i < 20; ++i) app.step();
    const std::vector<std::uint32_t> picture = app.game().picture().pixels;
    const Image plain = app.shown();
    EXPECT_EQ(plain.pixels, picture);
    app.input({Command::Race});
    const Image raced = app.shown();
    EXPECT_EQ(app.game().picture().pixels, picture);
    int differ = 0;
    for (int y = 0; y < raced.height; ++y)
        for (int x = 0; x < raced.width; ++x)
            if (raced.at(x, y) != plain.at(x, y)) {
                ++differ;
                EXPECT_LT(x, 400);
                EXPECT_LT(y, 100);
            }
    EXPECT_GT(differ, 0);
    app.input({Command::Race});
    EXPECT_EQ(app.shown().pixels, picture);
}

}  // namespace
}  // namespace hopla
