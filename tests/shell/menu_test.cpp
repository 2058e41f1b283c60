// The shell's menu: what each move does on each page, and that a row under the pointer is the
// row drawn there.
#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "app/Keys.h"
#include "frontend/KeyCodes.h"
#include "shell/Menu.h"
#include "shell/Overlay.h"

namespace hopla {
namespace {

TEST(Menu, EveryMoveOnEveryPage) {
    using K = MenuAction::Kind;
    const MenuAction none{}, resume{K::Resume}, quit{K::Quit};
    const auto step = [](Setting setting, int direction) {
        return MenuAction{K::Step, setting, direction};
    };
    // Moves: u(p), d(own), l(eft), r(ight), s(elect), b(ack); the action of the last one, and
    // where the menu is afterwards; in the page's menu (no Scaling row; Export and Import before
    // Quit) when `inPage`. The settings' rows come first, then Keys, Records (and the page's
    // two) and Quit.
    const std::vector<MenuRow> rows = Menu().rows();
    const int keys = static_cast<int>(rows.size()) - 3, records = keys + 1, quitRow = keys + 2;
    Menu inPage;
    inPage.leaveOut(Setting::Scaling);
    inPage.offerExport();
    const int pageQuit = static_cast<int>(inPage.rows().size()) - 1, pageKeys = pageQuit - 4;
    const auto down = [](int n, const char* then = "") { return std::string(n, 'd') + then; };
    const struct {
        std::string moves;
        MenuAction last;
        bool open;
        Menu::Page page;
        int selected;
        bool asking = false;  // a new key is asked for
        bool inPage = false;  // without the Scaling row, with those of export and import
    } cases[] = {
        {"s", resume, false, Menu::Page::Main, 0},
        {"b", resume, false, Menu::Page::Main, 0},
        {"u", none, true, Menu::Page::Main, quitRow},  // round to Quit
        {"us", quit, false, Menu::Page::Main, quitRow},
        {"dl", step(Setting::Fullscreen, -1), true, Menu::Page::Main, 1},
        {"ds", step(Setting::Fullscreen, 1), true, Menu::Page::Main, 1},
        {"ddr", step(Setting::Scaling, 1), true, Menu::Page::Main, 2},
        {"dddl", step(Setting::Volume, -1), true, Menu::Page::Main, 3},
        {"dddr", step(Setting::Volume, 1), true, Menu::Page::Main, 3},
        {"ddds", none, true, Menu::Page::Main, 3},  // choosing a number leaves it
        {"ddddr", step(Setting::Speed, 1), true, Menu::Page::Main, 4},
        {"dddds", none, true, Menu::Page::Main, 4},
        {"ddddds", step(Setting::Race, 1), true, Menu::Page::Main, 5},
        {"dddddds", step(Setting::Ghost, 1), true, Menu::Page::Main, 6},
        {down(keys, "s"), none, true, Menu::Page::Keys, 0},
        {down(keys, "sdl"), none, true, Menu::Page::Keys, 1},  // a role's row has no steps
        {down(keys, "ss"), none, true, Menu::Page::Keys, 0, true},
        {down(keys, "ssdus"), none, true, Menu::Page::Keys, 0, true},  // moves wait for the key
        {down(keys, "ssbd"), none, true, Menu::Page::Keys, 1},         // Back keeps the old key
        {down(keys, "sddds"), {K::ResetKeys}, true, Menu::Page::Keys, 3},
        {down(keys, "sdddds"), none, true, Menu::Page::Main, keys},
        {down(keys, "sb"), none, true, Menu::Page::Main, keys},
        {down(records, "s"), none, true, Menu::Page::Records, 0},
        {down(records, "ss"), none, true, Menu::Page::Main, records},  // Back chosen
        {"r", none, true, Menu::Page::Main, 0},
        {"u", none, true, Menu::Page::Main, pageQuit, false, true},
        {"ddr", step(Setting::Volume, 1), true, Menu::Page::Main, 2, false, true},
        {down(pageKeys, "s"), none, true, Menu::Page::Keys, 0, false, true},
        {down(pageKeys, "sb"), none, true, Menu::Page::Main, pageKeys, false, true},
        {"uuus", MenuAction{K::Export}, true, Menu::Page::Main, pageQuit - 2, false, true},
        {"uus", MenuAction{K::Import}, true, Menu::Page::Main, pageQuit - 1, false, true},
        {"us", quit, false, Menu::Page::Main, pageQuit, false, true},
    };
    const std::map<char, Command> commands = {{'u', Command::Up},     {'d', Command::Down},
                                              {'l', Command::Left},   {'r', Command::Right},
                                              {'s', Command::Select}, {'b', Command::Back}};
    for (const auto& c : cases) {
        Menu menu;
        if (c.inPage) {
            menu.leaveOut(Setting::Scaling);
            menu.offerExport();
        }
        menu.open();
        MenuAction last;
        for (const char m : c.moves) last = menu.move(commands.at(m));
        EXPECT_EQ(last, c.last) << c.moves;
        EXPECT_EQ(menu.isOpen(), c.open) << c.moves;
        EXPECT_EQ(menu.page(), c.page) << c.moves;
        EXPECT_EQ(menu.view({}, {}, {}).selected, c.selected) << c.moves;
        EXPECT_EQ(menu.capturing().has_value(), c.asking) << c.moves;
    }
}

// A row's steps change its value within its range: a number stops at its ends, a choice of two
// goes round.
TEST(Menu, StepsStayInTheirRange) {
    const struct {
        Setting setting;
        int volume;
        int direction;
        int expected;
    } cases[] = {
        {Setting::Volume, 100, 1, 100},
        {Setting::Volume, 95, 1, 100},
        {Setting::Volume, 0, -1, 0},
        {Setting::Volume, 40, -1, 30},
    };
    for (const auto& c : cases) {
        Settings s;
        s.volume = c.volume;
        RowOf(c.setting).step(s, c.direction);
        EXPECT_EQ(s.volume, c.expected) << c.volume;
    }
    // Slow motion steps down its speeds and stops at their ends.
    const struct {
        int speed, direction, expected;
    } speeds[] = {{100, -1, 100}, {100, 1, 90}, {90, 1, 75},
                  {75, 1, 50},    {50, 1, 50},  {50, -1, 75}};
    for (const auto& c : speeds) {
        Settings s;
        s.speed = c.speed;
        RowOf(Setting::Speed).step(s, c.direction);
        EXPECT_EQ(s.speed, c.expected) << c.speed;
    }
    Settings s;
    RowOf(Setting::Scaling).step(s, -1);
    EXPECT_EQ(s.scaling, ScalingMode::Integer);
    RowOf(Setting::Scaling).step(s, -1);
    EXPECT_EQ(s.scaling, ScalingMode::Fit);
}

TEST(Menu, PagesShowTheirValuesAndLines) {
    Menu menu;
    menu.open();
    Settings settings;
    settings.fullscreen = true;
    settings.scaling = ScalingMode::Integer;
    settings.volume = 40;
    const struct {
        bool muted, sound;
        const char* volume;
    } volumes[] = {
        {false, true, "Volume: 40"},
        {true, true, "Volume: 40 (muted)"},
        {true, false, "Volume: 40 (muted)"},
        {false, false, "Volume: no sound device"},
    };
    for (const auto& v : volumes)
        EXPECT_EQ(menu.view({settings, v.muted, v.sound}, {}, {}).rows,
                  (std::vector<std::string>{"Resume", "Whole screen: on", "Scaling: integer",
                                            v.volume, "Slow motion: off", "Race overlay: off",
                                            "Ghost: off", "Keys", "Records", "Quit"}));
    settings.speed = 75;
    settings.race = true;
    settings.ghost = true;
    EXPECT_EQ(menu.view({settings}, {}, {}).rows[4], "Slow motion: 75 %");
    EXPECT_EQ(menu.view({settings}, {}, {}).rows[5], "Race overlay: on");
    EXPECT_EQ(menu.view({settings}, {}, {}).rows[6], "Ghost: best game");
    // The ghost's row goes round off, the best game's run and each stage's best run.
    for (const char* next : {"Ghost: best stages", "Ghost: off", "Ghost: best game"}) {
        RowOf(Setting::Ghost).step(settings, 1);
        EXPECT_EQ(menu.view({settings}, {}, {}).rows[6], next);
    }
    RowOf(Setting::Ghost).step(settings, -1);
    EXPECT_EQ(menu.view({settings}, {}, {}).rows[6], "Ghost: off");
    menu.click(static_cast<int>(menu.rows().size()) - 2);
    EXPECT_EQ(menu.view({}, {}, {}).lines, std::vector<std::string>{"No records yet"});
    EXPECT_EQ(menu.view({}, {}, {"1. 1234 ABCD"}).lines, std::vector<std::string>{"1. 1234 ABCD"});
}

// The game's keys move the menu by what they are for; other input is none of its business.
TEST(Menu, TheGameKeysAreMenuMoves) {
    const struct {
        Routed input;
        std::optional<Command> move;
    } cases[] = {
        {{Command::KeyDown, kVkUp}, Command::Up},
        {{Command::KeyDown, kVkDown}, Command::Down},
        {{Command::KeyDown, kVkLeft}, Command::Left},
        {{Command::KeyDown, kVkRight}, Command::Right},
        {{Command::KeyDown, kVkEnter}, Command::Select},
        {{Command::KeyDown, kVkSpace}, Command::Select},
        {{Command::Back}, Command::Back},
        {{Command::KeyDown, 65}, std::nullopt},
        {{Command::KeyUp, kVkUp}, std::nullopt},
        {{Command::MouseDown, 1}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(MenuMoveOf(c.input), c.move) << c.input.code;
}

// Glyphs as solid boxes 6 pixels a character, lines 16 high.
class BoxText final : public TextRenderer {
  public:
    void draw(Image& target, const Rect& clip, int x, int y, std::string_view text, const Font&,
              Color color) const override {
        const Rect box = Rect::Sized(x, y, 6 * static_cast<int>(text.size()), 12).intersect(clip);
        for (int py = box.top; py < box.bottom; ++py)
            for (int px = box.left; px < box.right; ++px)
                target.at(px, py) = static_cast<std::uint32_t>(color);
    }
    int lineHeight(const Font&) const override { return 16; }
    int width(std::string_view text, const Font&) const override {
        return 6 * static_cast<int>(text.size());
    }
};

TEST(Overlay, TheRowUnderThePointerIsTheRowDrawnThere) {
    const BoxText text;
    Overlay overlay(text);
    Menu menu;
    menu.open();
    const Image picture(800, 600, 0xFFFFFF);
    const Image& shown = overlay.menu(picture, menu.view({}, {}, {}));
    EXPECT_EQ(shown.at(5, 5), 0x5F5F5Fu);    // the picture dimmed to 3/8
    EXPECT_EQ(picture.at(5, 5), 0xFFFFFFu);  // and itself untouched
    // Every row's text lies on its row, Resume's on the selected bar.
    int found = 0;
    for (int y = 0; y < 600; ++y) {
        const std::optional<int> row = overlay.rowAt(400, y);
        if (!row) continue;
        if (y > 0 && overlay.rowAt(400, y - 1) == row) continue;
        EXPECT_EQ(*row, found++);
    }
    EXPECT_EQ(found, static_cast<int>(menu.rows().size()));
    EXPECT_FALSE(overlay.rowAt(5, 5));
    overlay.paused(picture, PausedHint(InputFamily::Keyboard));
    EXPECT_FALSE(overlay.rowAt(400, 300));  // no rows on the pause sign
    // A note lies on a strip along the bottom edge; the rest is the picture as it was.
    const Image& noted = overlay.note(picture, "Screenshot saved: a.png");
    EXPECT_EQ(noted.at(400, 300), 0xFFFFFFu);
    EXPECT_NE(noted.at(799, 599), 0xFFFFFFu);
    EXPECT_EQ(picture.at(799, 599), 0xFFFFFFu);
}

// The hints name what the player used last: the keyboard's keys or the controller's own buttons
// (Nintendo's B is the bottom button, where the others have A or Cross).
// A new key or button for a role is refused when it would leave a role without one, or take a
// button the menu needs; otherwise it alone plays the role.
TEST(KeyBindings, ARebindThatWouldLockThePlayerOutIsRefused) {
    const KeyBindings defaults = WithDefaults({});
    const auto pad = [](PadButton b) { return static_cast<std::int32_t>(b); };
    const struct {
        Role role;
        bool pad;
        std::int32_t code;
        const char* refusal;  // "": taken
    } cases[] = {
        {Role::Left, false, SDLK_j, ""},
        {Role::Right, false, SDLK_RIGHT, ""},  // its own key again
        {Role::Left, false, SDLK_d, "D already steers right"},
        {Role::Back, false, SDLK_LEFT, "Left already steers left"},
        {Role::Left, true, pad(PadButton::West), ""},
        {Role::Back, true, pad(PadButton::Misc), ""},
        {Role::Left, true, pad(PadButton::South), "A has a job of its own"},
        {Role::Left, true, pad(PadButton::DpadUp), "D-pad up has a job of its own"},
        {Role::Right, true, pad(PadButton::Start), "Menu already goes back to the title room"},
        {Role::Back, true, pad(PadButton::DpadLeft), "D-pad left already steers left"},
        {Role::Left, true, 99, "not known"},
    };
    for (const auto& c : cases) {
        const auto result = Rebind(defaults, c.role, c.pad, c.code, KeyNames);
        if (*c.refusal) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.refusal;
            EXPECT_NE(std::get<std::string>(result).find(c.refusal), std::string::npos)
                << std::get<std::string>(result);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<KeyBindings>(result)) << std::get<std::string>(result);
        KeyBindings expected = defaults;
        expected.*ListOf(c.role, c.pad) = {c.code};
        EXPECT_EQ(std::get<KeyBindings>(result), expected);
    }
}

TEST(ButtonNames, HintsNameTheButtonsOfWhatWasUsedLast) {
    const struct {
        InputFamily family;
        const char* menu;
        const char* paused;
        const char* keysSkip;
        const char* picker;  // the editor's letter picker
    } cases[] = {
        {InputFamily::Keyboard, "Enter; Esc: back", "P to play on", "", "Pick < A >  Down: add"},
        {InputFamily::Xbox, "A: choose, B: back", "Xbox, or View and Menu", "A: skip",
         "Pick < A >  A add  B delete  Menu keep"},
        {InputFamily::PlayStation, "Cross: choose, Circle: back", "PS, or Share and Options",
         "Cross: skip", "Cross add  Circle delete  Options keep"},
        {InputFamily::Nintendo, "B: choose, A: back", "Home, or - and +", "B: skip",
         "B add  A delete  + keep"},
        {InputFamily::Touch, "Tap a row; Left/Right: change; Menu: back", "Pause to play on", "",
         "Down: add"},
    };
    for (const auto& c : cases) {
        MenuValues values;
        values.input = c.family;
        EXPECT_NE(Menu().view(values, {}, {}).hint.find(c.menu), std::string::npos) << c.menu;
        EXPECT_NE(PausedHint(c.family).find(c.paused), std::string::npos) << c.paused;
        EXPECT_NE(PickerHint(c.family, "A").find(c.picker), std::string::npos) << c.picker;
        if (!IsController(c.family)) continue;
        EXPECT_NE(ControllerKeyLines(c.family)[2].find(c.keysSkip), std::string::npos);
    }
}

}  // namespace
}  // namespace hopla
