// The real loop with a controller plugged in: SDL's invisible video driver, a virtual controller
// held from another thread, the inputs the game is handed.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "frontend/SdlApp.h"

namespace hopla {
namespace {

using std::chrono::milliseconds;

// Sets an environment variable for the scope, as it was before afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// SDL's virtual controller with every button and axis, plugged in for the scope. The invisible
// window never has the focus, which SDL asks of controller input by default.
struct VirtualPad {
    VirtualPad() {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (!subsystem.ok()) {
            error = subsystem.error();
            return;
        }
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0) joystick = SDL_JoystickOpen(index);
        if (!joystick) error = SDL_GetError();
    }
    ~VirtualPad() {
        if (joystick) SDL_JoystickClose(joystick);
        if (index >= 0) SDL_JoystickDetachVirtual(index);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    // A button pressed and let go, each held long enough for a loop on a busy machine to see.
    void press(SDL_GameControllerButton button) const {
        SDL_JoystickSetVirtualButton(joystick, button, 1);
        std::this_thread::sleep_for(milliseconds(200));
        SDL_JoystickSetVirtualButton(joystick, button, 0);
        std::this_thread::sleep_for(milliseconds(200));
    }

    SdlSubsystem subsystem{SDL_INIT_JOYSTICK};
    int index = -1;
    SDL_Joystick* joystick = nullptr;
    std::string error;
};

TEST(SdlApp, AControllerSteersTheRealLoopWithTheKeyboardsRepeat) {
    ::testing::internal::CaptureStderr();
    ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    SdlLibrary sdl;
    VirtualPad pad;
    ASSERT_TRUE(pad.error.empty()) << pad.error;
    SDL_Joystick* joystick = pad.joystick;

    std::vector<Routed> seen;
    {
        AppOptions options;
        options.settings.scale = 1;
        options.mute = true;
        // Nowhere to write the settings: said once on standard error, and play goes on.
        options.settingsPath = "/proc/hopla-no-such-dir/settings.ini";
        SdlApp app(1, HOPLA_BUILD_DIR, options);
        app.setInputObserver([&](const Routed& input) { seen.push_back(input); });
        // No X server: the keyboard's repeat is the X server's default, 660 ms then every 40.
        std::jthread player([joystick] {
            // A window key first, twice: it toggles the whole screen, the game never sees it.
            for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_KEYDOWN, SDL_KEYUP}) {
                SDL_Event key{};
                key.type = type;
                key.key.keysym.sym = SDLK_F11;
                SDL_PushEvent(&key);
            }
            std::this_thread::sleep_for(milliseconds(100));
            SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
            // Held long past the repeat's delay, so that a loop kept waiting on a busy machine
            // still sees the press and the release far enough apart.
            std::this_thread::sleep_for(milliseconds(2000));
            SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
            std::this_thread::sleep_for(milliseconds(100));
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        });
        app.run();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "hopla: settings not saved: cannot create /proc/hopla-no-such-dir: "
              "No such file or directory\n");

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
    const std::string path = ::testing::TempDir() + "hopla-rebind-settings.ini";
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
        std::jthread player([&pad, &path, &saved] {
            using B = SDL_GameControllerButton;
            const auto toKeysPage = [&] {
                pad.press(SDL_CONTROLLER_BUTTON_GUIDE);
                for (int i = 0; i < 4; ++i) pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
                pad.press(SDL_CONTROLLER_BUTTON_A);
            };
            std::this_thread::sleep_for(milliseconds(200));
            toKeysPage();
            // Left's row asks for a button: A is refused (the menu's), X taken.
            for (const B b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_A,
                              SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X})
                pad.press(b);
            for (const B b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_GUIDE,
                              SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_LEFT})
                pad.press(b);
            std::ifstream in(path);
            saved.assign(std::istreambuf_iterator<char>(in), {});
            toKeysPage();
            for (int i = 0; i < 3; ++i) pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
            for (const B b :
                 {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_GUIDE,
                  SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_LEFT})
                pad.press(b);
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        });
        app.run();
    }
    std::ifstream in(path);
    const std::string reset{std::istreambuf_iterator<char>(in), {}};
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

}  // namespace
}  // namespace hopla
