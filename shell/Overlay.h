// What the shell draws over the game's picture: the menu, the pause sign and notes, in a picture of
// its own (the game's picture is never drawn into), presented in its place while they show.
#pragma once

#include <optional>
#include <vector>

#include "shell/Menu.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"
#include "toolkit/Text.h"

namespace hopla {

class Overlay {
  public:
    explicit Overlay(const TextRenderer& text) : text_(text) {}

    // The game's picture dimmed, with the menu's page on a panel over it. Remembers where the
    // rows are for rowAt.
    const Image& menu(const Image& picture, const MenuView& view);
    // The game's picture dimmed a little, with a small "Paused" sign in the middle.
    const Image& paused(const Image& picture, const std::string& hint);
    // `picture` (whatever is shown: the game's, the menu, the pause sign) with a one-line note
    // on a strip along its bottom edge, for the window's own news (a screenshot saved).
    const Image& note(const Image& picture, const std::string& line);
    // The menu row at a point of the picture; none off every row.
    std::optional<int> rowAt(int x, int y) const;

  private:
    const TextRenderer& text_;
    Image image_;
    std::vector<Rect> rows_;
};

}  // namespace hopla
