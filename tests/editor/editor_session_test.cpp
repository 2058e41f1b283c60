// The editor's modes fed the shell's inputs, without a window: keys by what they are whatever
// they are bound to, the pointer's strokes, typing, the prompt, and test play with its pause.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "editor/EditorSession.h"
#include "frontend/WindowRunner.h"
#include "play/Keys.h"
#include "support/BlockText.h"
#include "support/SdlTesting.h"

namespace hopla {
namespace {

class SilentSound final : public SoundDevice {
  public:
    void play(const std::string&, bool) override {}
    void stop(bool) override {}
};

class FakeHost final : public WindowHost {
  public:
    SoundDevice& sound() override { return sound_; }
    const TextRenderer& text() const override { return text_; }
    void setSoundPaused(bool paused) override { soundPaused = paused; }
    MenuValues values() const override { return {}; }
    void stepSetting(Setting, int) override {}
    void showAll() override {}
    void setTyping(bool on) override { typing = on; }
    void setCapturing(bool) override {}
    std::string bind(Role, bool, std::int32_t) override { return {}; }
    void resetKeys() override {}
    bool typing = false, soundPaused = false;

  private:
    SilentSound sound_;
    testing::BlockText text_;
};

using Mode = EditorSession::Mode;
constexpr int kPageUp = 33, kPageDown = 34, kPad5 = 101, kBackspace = 8;

Routed Key(int key, int code = -1) {
    return {Command::KeyDown, code < 0 ? key : code, key};
}
Routed Ctrl(int key) {
    return {Command::KeyDown, key, key, true};
}
Routed Do(Command command) {
    return {command};
}
Routed Do2(Command command, int code) {
    return {command, code};
}
Routed Pad(int code) {
    return {Command::KeyDown, code};
}
PointerInput Press(int button, int x, int y) {
    return {PointerInput::Kind::Press, button, x, y, true};
}
PointerInput Release(int button, int x, int y) {
    return {PointerInput::Kind::Release, button, x, y, true};
}
PointerInput Drag(int buttons, int x, int y) {
    return {PointerInput::Kind::Move, buttons, x, y, true};
}
using Step = std::variant<Routed, PointerInput, std::string>;

struct Case {
    const char* name;
    std::vector<Step> steps;
    Mode mode;
    int stage;
    int code;
    std::string line2;  // a part of what the strip says last
    bool modified = false;
};

TEST(EditorSession, ModesFollowTheirInputs) {
    const int x0 = 5 * kTileSize + 3, y0 = 4 * kTileSize + 3;  // inside cell (5, 4)
    const std::vector<Case> cases = {
        {"digits and keypad digits choose the tile",
         {Key('3'), Key(kPad5, kVkLeft)},
         Mode::Edit,
         0,
         5,
         "PgUp next stage  PgDn previous"},
        {"PgUp goes to the next stage, PgDn to the previous",
         {Key(kPageUp), Key(kPageDown), Key(kPageDown)},
         Mode::Edit,
         20,
         1,
         ""},
        {"A names the author even when bound to steer",
         {Key('A', kVkLeft), std::string("Ann"), Key(kBackspace)},
         Mode::Typing,
         0,
         1,
         "Author: An_"},
        {"a name cannot be emptied",  // the new file's name is "new"
         {Key('N'), Key(kBackspace), Key(kBackspace), Key(kBackspace), Key(kVkEnter)},
         Mode::Typing,
         0,
         1,
         "A stage file needs a name"},
        {"S then a click places the start",
         {Key('S'), Press(kMouseLeft, 300, 140)},
         Mode::Edit,
         0,
         1,
         "Start point placed",
         true},
        {"a palette click chooses the tile",
         {Press(kMouseLeft, PaletteSlotOf(4).x + 1, PaletteSlotOf(4).y + 1)},
         Mode::Edit,
         0,
         4,
         ""},
        {"Esc after a change asks first",
         {Press(kMouseLeft, x0, y0), Release(kMouseLeft, x0, y0), Do(Command::Menu)},
         Mode::Prompt,
         0,
         1,
         "Save changes? Y/N/Esc",
         true},
        {"Esc in the prompt goes back to editing",
         {Press(kMouseLeft, x0, y0), Release(kMouseLeft, x0, y0), Do(Command::Menu),
          Do(Command::Menu)},
         Mode::Edit,
         0,
         1,
         "",
         true},
        {"Ctrl+Z undoes a stroke",
         {Press(kMouseLeft, x0, y0), Drag(kMouseLeft, x0 + 2 * kTileSize, y0),
          Release(kMouseLeft, x0, y0), Ctrl('Z')},
         Mode::Edit,
         0,
         1,
         "Undone",
         true},
        {"T plays the stage and P pauses it",
         {Key('T'), Do(Command::Pause)},
         Mode::Play,
         0,
         1,
         "Paused - P to play on"},
        {"Esc leaves test play, paused or not",
         {Key(kPageUp), Key('T'), Do(Command::Pause), Do(Command::Menu)},
         Mode::Edit,
         1,
         1,
         ""},
        // A controller alone: its d-pad and stick come as the steering keys without a key of
        // their own, Start as the back key.
        {"the d-pad moves the cursor, A paints there",
         {Pad(kVkRight), Pad(kVkRight), Do(Command::Up), Do(Command::Select)},
         Mode::Edit,
         0,
         1,
         "",
         true},
        {"B empties the cell, which was empty",
         {Pad(kVkLeft), Do(Command::Back)},
         Mode::Edit,
         0,
         1,
         ""},
        {"shoulders change the tile, triggers the stage",
         {Do2(Command::MouseDown, kMouseRight), Do2(Command::MouseDown, kMouseRight),
          Do2(Command::MouseDown, kMouseLeft), Do(Command::PageNext), Do(Command::PageNext),
          Do(Command::PagePrevious)},
         Mode::Edit,
         1,
         2,
         ""},
        {"Y places the start at the cursor",
         {Do(Command::Action)},
         Mode::Edit,
         0,
         1,
         "Start point placed",
         true},
        {"Start opens the editor's menu",
         {Pad(kVkSpace), Pad(kVkRight)},
         Mode::Menu,
         0,
         1,
         "< Check >"},
        {"its Name item types with the letter picker",
         {Pad(kVkSpace), Pad(kVkLeft), Pad(kVkLeft), Pad(kVkLeft), Do(Command::Select),
          Do(Command::Back), Pad(kVkRight), Do(Command::Select)},
         Mode::Typing,
         0,
         1,
         "Name: neB_"},
        {"B closes the menu", {Pad(kVkSpace), Do(Command::Back)}, Mode::Edit, 0, 1, ""},
    };
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("editor-session-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        EditorSession session(host, StageEdit((dir / "new.stages").string()), HOPLA_BUILD_DIR);
        for (const Step& step : c.steps) {
            if (const auto* input = std::get_if<Routed>(&step)) session.input(*input);
            if (const auto* pointer = std::get_if<PointerInput>(&step)) session.pointer(*pointer);
            if (const auto* typed = std::get_if<std::string>(&step)) session.text(*typed);
        }
        EXPECT_EQ(session.mode(), c.mode);
        EXPECT_EQ(session.edit().stage(), c.stage);
        EXPECT_EQ(session.code(), c.code);
        EXPECT_EQ(session.edit().modified(), c.modified);
        EXPECT_NE(session.status().line2.find(c.line2), std::string::npos)
            << session.status().line2;
        // Typing is asked of the window exactly while typing; the test game's pause holds the
        // sound, and leaving test play lets both go.
        EXPECT_EQ(host.typing, c.mode == Mode::Typing);
        EXPECT_EQ(session.paused(), host.soundPaused);
        EXPECT_EQ(session.clock().paused(), session.paused());
        EXPECT_FALSE(session.ended());
    }
    std::filesystem::remove_all(dir);
}

// Leaving: without changes at once; with them only after the prompt's answer, or, when made to
// end, with the edits kept beside the file.
TEST(EditorSession, LeavesOnlyWithTheEditsAnsweredFor) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("editor-leave-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "mine.stages").string();
    FakeHost host;
    {
        EditorSession session(host, StageEdit(path), HOPLA_BUILD_DIR);
        session.close();
        EXPECT_TRUE(session.ended());
    }
    {
        EditorSession session(host, StageEdit(path), HOPLA_BUILD_DIR);
        session.pointer(Press(kMouseLeft, 100, 100));
        session.pointer(Release(kMouseLeft, 100, 100));
        session.input(Do(Command::Menu));
        session.input(Key('Y'));
        EXPECT_TRUE(session.ended());
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(session.exitStatus(), 0);
    }
    std::filesystem::remove_all(dir);
}

// The editor in the real runner with a controller alone (SDL's virtual one, on the invisible
// video driver): paint a cell, place the start, type a name with the picker, save, leave.
TEST(EditorSession, AControllerAloneEditsSavesAndLeaves) {
    const testing::TestVideo video;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("editor-pad-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "new.stages").string();
    {
        SdlLibrary sdl;
        const testing::VirtualPad pad;
        ASSERT_TRUE(pad.error.empty()) << pad.error;
        AppOptions options;
        options.settings.scale = 1;
        options.mute = true;
        WindowRunner runner("editor", kEditorWidth, kEditorHeight, options);
        EditorSession session(runner, StageEdit(path), HOPLA_BUILD_DIR);
        runner.attach(session);
        const auto press = [&](SDL_GameControllerButton button, int times = 1) {
            pad.press(runner, button, times);
        };
        runner.step();                            // the controller plugged in
        press(SDL_CONTROLLER_BUTTON_DPAD_UP, 2);  // the cursor from (10, 7) to (10, 5)
        press(SDL_CONTROLLER_BUTTON_A);           // a wall there
        press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 3);
        press(SDL_CONTROLLER_BUTTON_Y);  // the start at (10, 8)
        press(SDL_CONTROLLER_BUTTON_START);
        press(SDL_CONTROLLER_BUTTON_DPAD_UP, 3);  // round from "Test play" to "Name"
        press(SDL_CONTROLLER_BUTTON_A);
        press(SDL_CONTROLLER_BUTTON_B);           // "new" less its "w"
        press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);  // the picker from "A" to "B"
        press(SDL_CONTROLLER_BUTTON_A);
        press(SDL_CONTROLLER_BUTTON_START);  // kept
        press(SDL_CONTROLLER_BUTTON_START);
        press(SDL_CONTROLLER_BUTTON_DPAD_UP, 3);  // from "Name" to "Save"
        press(SDL_CONTROLLER_BUTTON_A);
        press(SDL_CONTROLLER_BUTTON_START);
        press(SDL_CONTROLLER_BUTTON_DPAD_UP, 3);  // round to "Leave"
        press(SDL_CONTROLLER_BUTTON_A);
        EXPECT_TRUE(session.ended());
        EXPECT_FALSE(session.edit().modified());
    }
    std::stringstream text;
    text << std::ifstream(path).rdbuf();  // closed again before the folder is removed
    EXPECT_NE(text.str().find("name neB\n"), std::string::npos) << text.str();
    StageEdit reread(path);
    EXPECT_EQ(reread.tile(10, 5), 1);
    EXPECT_EQ(reread.block().startX / kTileSize, 10);
    EXPECT_EQ(reread.block().startY / kTileSize, 8);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hopla
