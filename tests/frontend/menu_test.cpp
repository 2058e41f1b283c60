// The shell's menu: what each move does on each page, and that a row under the pointer is the
// row drawn there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/Menu.h"
#include "frontend/Overlay.h"

namespace hopla {
namespace {

TEST(Menu, EveryMoveOnEveryPage) {
    using A = MenuAction;
    // Moves: u(p), d(own), l(eft), r(ight), s(elect), b(ack); the action of the last one, and
    // where the menu is afterwards.
    const struct {
        const char* moves;
        MenuAction last;
        bool open;
        Menu::Page page;
        int selected;
    } cases[] = {
        {"s", A::Resume, false, Menu::Page::Main, 0},
        {"b", A::Resume, false, Menu::Page::Main, 0},
        {"u", A::None, true, Menu::Page::Main, 6},  // round to Quit
        {"us", A::Quit, false, Menu::Page::Main, 6},
        {"dl", A::ToggleFullscreen, true, Menu::Page::Main, 1},
        {"ds", A::ToggleFullscreen, true, Menu::Page::Main, 1},
        {"ddr", A::ToggleScaling, true, Menu::Page::Main, 2},
        {"dddl", A::VolumeDown, true, Menu::Page::Main, 3},
        {"dddr", A::VolumeUp, true, Menu::Page::Main, 3},
        {"ddds", A::VolumeNext, true, Menu::Page::Main, 3},
        {"dddds", A::None, true, Menu::Page::Keys, 0},
        {"ddddsdl", A::None, true, Menu::Page::Keys, 0},  // one row: Back
        {"ddddsb", A::None, true, Menu::Page::Main, 4},
        {"ddddds", A::None, true, Menu::Page::Records, 0},
        {"dddddss", A::None, true, Menu::Page::Main, 5},  // Back chosen
        {"r", A::None, true, Menu::Page::Main, 0},
    };
    for (const auto& c : cases) {
        Menu menu;
        menu.open();
        MenuAction last = A::None;
        for (const char* m = c.moves; *m; ++m) {
            switch (*m) {
                case 'u':
                    last = menu.up();
                    break;
                case 'd':
                    last = menu.down();
                    break;
                case 'l':
                    last = menu.left();
                    break;
                case 'r':
                    last = menu.right();
                    break;
                case 's':
                    last = menu.select();
                    break;
                default:
                    last = menu.back();
                    break;
            }
        }
        EXPECT_EQ(last, c.last) << c.moves;
        EXPECT_EQ(menu.isOpen(), c.open) << c.moves;
        EXPECT_EQ(menu.page(), c.page) << c.moves;
        EXPECT_EQ(menu.view({}, {}, {}).selected, c.selected) << c.moves;
    }
}

TEST(Menu, PagesShowTheirValuesAndLines) {
    Menu menu;
    menu.open();
    const MenuView main = menu.view({true, ScalingMode::Integer, 40, true}, {}, {});
    EXPECT_EQ(main.rows,
              (std::vector<std::string>{"Resume", "Whole screen: on", "Scaling: whole number",
                                        "Volume: 40 (muted: M)", "Keys", "Records", "Quit"}));
    menu.click(5);
    EXPECT_EQ(menu.view({}, {}, {}).lines, std::vector<std::string>{"No records yet"});
    EXPECT_EQ(menu.view({}, {}, {"1. 1234 ABCD"}).lines, std::vector<std::string>{"1. 1234 ABCD"});
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
    EXPECT_EQ(found, 7);
    EXPECT_FALSE(overlay.rowAt(5, 5));
    overlay.paused(picture);
    EXPECT_FALSE(overlay.rowAt(400, 300));  // no rows on the pause sign
}

}  // namespace
}  // namespace hopla
