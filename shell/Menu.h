// The shell's menu over the paused game: its pages as rows of data (a label and what stepping
// left, right and choosing it ask), the row chosen, and the moves. No drawing (shell/Overlay.h
// draws it).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/ButtonNames.h"
#include "shell/Commands.h"
#include "shell/SettingRows.h"

namespace hopla {

// What a move in the menu asks the window to do.
struct MenuAction {
    enum class Kind {
        None,
        Resume,  // the menu closed
        Step,    // step `setting` left (-1) or right (+1): its row's step
        Quit,
        Keys,     // to the keys page (the menu's own)
        Records,  // to the records page (the menu's own)
        Back,     // to the main page (the menu's own)
        Capture,  // the Keys page asks for a new key or button for `role` (the menu's own)
        ResetKeys,
    };
    Kind kind = Kind::None;
    Setting setting = Setting::Scale;
    int direction = 0;
    Role role = Role::Left;
    bool operator==(const MenuAction&) const = default;
};

// One row that can be chosen: its text and what each move on it asks.
struct MenuRow {
    std::string label;
    MenuAction left, right, choose;
};

// What the rows show beside the settings: whether the sound is muted (by --mute or M), and
// whether there is a sound device at all.
struct MenuValues {
    Settings settings;
    bool muted = false;
    bool sound = true;
    InputFamily input = InputFamily::Keyboard;  // whose names the hints give
    KeyNamer keyNames = {};  // names the keys of settings.keys (whose defaults are filled in)
};

// What the menu shows of a page: a title, lines of text (the keys, the records), and the rows
// that can be chosen, one of them selected.
struct MenuView {
    std::string title;
    std::vector<std::string> lines;
    std::vector<std::string> rows;
    int selected = 0;
    std::string hint;  // the keys or buttons that move it
};

// Opened by the loop on Esc, Guide or Back+Start; the loop hands it the player's moves while it
// is open and carries out the actions it returns.
class Menu {
  public:
    enum class Page { Main, Keys, Records };

    bool isOpen() const { return open_; }
    // Opens on the main page with Resume selected.
    void open();
    void close() { open_ = false; }
    Page page() const { return page_; }
    int selected() const { return selected_; }
    // The role a new key or button is asked for on the Keys page, if one is: the window then
    // hands the next key or button to bound().
    std::optional<Role> capturing() const { return capturing_; }
    // The new key or button was taken, or refused: `note` says which, until the next move.
    void bound(std::string note);

    // Up and Down move the selection round the rows; Left and Right step the selected row's
    // value; Select chooses it; Back leaves a page, or closes the menu on the main page. Other
    // commands do nothing. While a key is asked for, Back and Menu keep the old one and
    // everything else waits.
    MenuAction move(Command command);
    // The pointer over a row selects it; a click on a row chooses it.
    void hover(int row);
    MenuAction click(int row);

    // The page's rows, showing `values`.
    std::vector<MenuRow> rows(const MenuValues& values = {}) const;
    // The page as it is to be drawn. `keys` are the lines of the keys page, `records` those of
    // the records page (none: "No records yet").
    MenuView view(const MenuValues& values, const std::vector<std::string>& keys,
                  const std::vector<std::string>& records) const;

  private:
    // Carries out the page changes; returns what is the window's to do.
    MenuAction take(MenuAction action);

    bool open_ = false;
    Page page_ = Page::Main;
    int selected_ = 0;
    std::optional<Role> capturing_;
    std::string note_;
};

// The keys as the game reads them, for the keys page while no other list is given (the keys
// that play the game's three are the page's rows).
std::vector<std::string> DefaultKeyLines();

}  // namespace hopla
