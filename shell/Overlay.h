// What the shell draws over the game's picture: the menu, the pause sign, notes and the race
// overlay, in a picture of its own (the game's picture is never drawn into), presented in its
// place while they show.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Menu.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"
#include "toolkit/Text.h"

namespace hopla {

// `line` as the game's font is to draw it: that font is a Japanese one, which draws the
// backslash as a yen sign, so a Windows path's backslashes become full-width reverse solidi.
std::string Drawable(std::string_view line);

class Overlay {
  public:
    explicit Overlay(const TextRenderer& text) : text_(text) {}

    // The game's picture dimmed, with the menu's page on a panel over it. Remembers where the
    // rows are for rowAt.
    const Image& menu(const Image& picture, const MenuView& view);
    // The game's picture dimmed a little, with a small "Paused" sign in the middle.
    const Image& paused(const Image& picture, const std::string& hint);
    // The race's lines on a dimmed panel in the top left corner of `onto`, a copy of the game's
    // picture that the caller keeps (it copies back what the panel covered before drawing it
    // again). Returns the area drawn; nothing for no lines.
    Rect race(Image& onto, const std::vector<std::string>& lines) const;
    // The ghost's ball at (x, y) of `onto`, translucent, a little larger than the ball; the
    // area drawn.
    Rect ghost(Image& onto, int x, int y) const;
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
