// The shell's menu over the paused game: its pages, the row chosen, and what choosing asks of
// the window. No SDL and no drawing (frontend/Overlay.h draws it).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/Scaling.h"

namespace hopla {

// What a move in the menu asks the window to do.
enum class MenuAction {
    None,
    Resume,  // the menu closed
    ToggleFullscreen,
    ToggleScaling,
    VolumeUp,    // a tenth louder, up to the loudest
    VolumeDown,  // a tenth softer, down to silence
    VolumeNext,  // a tenth louder, from the loudest round to silence
    Quit,
};

// What the menu shows of a page: a title, lines of text (the keys, the records), and the rows
// that can be chosen, one of them selected.
struct MenuView {
    std::string title;
    std::vector<std::string> lines;
    std::vector<std::string> rows;
    int selected = 0;
};

// Opened by the loop on Esc, Guide or Back+Start; the loop hands it the player's moves while it
// is open and carries out the actions it returns.
class Menu {
  public:
    enum class Page { Main, Keys, Records };
    enum class Row { Resume, Fullscreen, Scaling, Volume, Keys, Records, Quit };

    // What the rows of the main page show.
    struct Values {
        bool fullscreen = false;
        ScalingMode scaling = ScalingMode::Fit;
        int volume = 100;
        bool muted = false;
    };

    bool isOpen() const { return open_; }
    // Opens on the main page with Resume selected.
    void open();
    void close() { open_ = false; }
    Page page() const { return page_; }
    int selected() const { return selected_; }

    // Up and down move the selection round the rows; left and right change the selected row's
    // value; select chooses it; back leaves a page, or closes the menu on the main page.
    MenuAction up();
    MenuAction down();
    MenuAction left();
    MenuAction right();
    MenuAction select();
    MenuAction back();
    // The pointer over a row selects it; a click on a row chooses it.
    void hover(int row);
    MenuAction click(int row);

    // The page as it is to be drawn. `keys` are the lines of the keys page, `records` those of
    // the records page (none: "No records yet").
    MenuView view(const Values& values, const std::vector<std::string>& keys,
                  const std::vector<std::string>& records) const;

  private:
    int rows() const;

    bool open_ = false;
    Page page_ = Page::Main;
    int selected_ = 0;
};

// The keys as the game reads them, for the keys page while no other list is given.
std::vector<std::string> DefaultKeyLines();

}  // namespace hopla
