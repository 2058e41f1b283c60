// Pictures of the shell as a controller player sees it on a handheld's screen, taken by hand
// (scripts/handheld-shots.sh, under a virtual X server of that size): the menu, the Keys page,
// the pause sign and the editor's letter picker with a controller of each maker. Never installed.
//
// usage: hopla_pad_shots DIR   (writes DIR/MAKER-{menu,keys,paused,picker}.png)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "editor/EditorSession.h"
#include "frontend/SdlApp.h"
#include "support/SdlTesting.h"
#include "toolkit/png/PngWrite.h"

namespace hopla {
namespace {

using testing::PadMaker;
using testing::VirtualPad;

void Save(SDL_Window* window, const std::string& path) {
    const Image picture = testing::WindowPicture(window);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (const std::uint32_t p : picture.pixels)
        for (const int shift : {16, 8, 0}) rgb.push_back(static_cast<std::uint8_t>(p >> shift));
    const std::vector<std::uint8_t> png = EncodePng({picture.width, picture.height, 3, rgb.data()});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    std::printf("%s: %dx%d\n", path.c_str(), picture.width, picture.height);
}

// The game's menu and its Keys page, then the editor's picker, each in a runner of its own with
// a controller of its own: SDL would hand a controller's presses twice to a second runner made
// while the first one's controller stayed plugged in.
void Shoot(PadMaker maker, const std::string& name, const std::string& dir) {
    const std::string stem = dir + "/" + name;
    AppOptions options;  // as on a first start: a small screen is covered, the picture fitted
    options.mute = true;
    options.fullscreenChosen = false;
    {
        SdlLibrary sdl;
        const VirtualPad pad(maker);
        if (!pad.error.empty()) throw std::runtime_error(pad.error);
        SdlApp app(1, HOPLA_BUILD_DIR, options);
        app.step();
        pad.press(app, SDL_CONTROLLER_BUTTON_GUIDE);
        Save(app.screen().window(), stem + "-menu.png");
        pad.press(app, SDL_CONTROLLER_BUTTON_DPAD_UP, 3);  // round to Keys
        pad.press(app, SDL_CONTROLLER_BUTTON_A);
        Save(app.screen().window(), stem + "-keys.png");
        pad.press(app, SDL_CONTROLLER_BUTTON_B, 2);  // out of the menu
        app.away(true);                              // the window lost the focus
        app.step();
        Save(app.screen().window(), stem + "-paused.png");
    }
    SdlLibrary sdl;
    const VirtualPad pad(maker);
    if (!pad.error.empty()) throw std::runtime_error(pad.error);
    const std::string stages = dir + "/shots.stages";
    std::filesystem::remove(stages);
    WindowRunner runner("editor", kEditorWidth, kEditorHeight, options);
    EditorSession session(runner, StageEdit(stages), HOPLA_BUILD_DIR);
    runner.attach(session);
    runner.step();
    pad.press(runner, SDL_CONTROLLER_BUTTON_START);
    pad.press(runner, SDL_CONTROLLER_BUTTON_DPAD_UP, 3);  // round to Name
    pad.press(runner, SDL_CONTROLLER_BUTTON_A);
    pad.press(runner, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 7);  // the picker on H
    if (session.mode() != EditorSession::Mode::Typing)
        throw std::runtime_error("the editor's picker did not open");
    Save(runner.screen().window(), stem + "-picker.png");
}

}  // namespace
}  // namespace hopla

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hopla_pad_shots DIR\n");
        return 2;
    }
    try {
        using hopla::testing::PadMaker;
        hopla::Shoot(PadMaker::Xbox, "xbox", argv[1]);
        hopla::Shoot(PadMaker::PlayStation, "playstation", argv[1]);
        hopla::Shoot(PadMaker::Nintendo, "nintendo", argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla_pad_shots: %s\n", e.what());
        return 1;
    }
    return 0;
}
