// A small bold pixel font for the sign tiles: capitals 9 pixels tall, lower case 6.
#pragma once

#include <string_view>

#include "tools/gen-assets/Emboss.h"

namespace hopla::gen {

inline constexpr int kGlyphHeight = 9;
inline constexpr int kGlyphSpacing = 1;

// Width in pixels of the text, without its drop shadow. Characters the font lacks count as 0.
int TextWidth(std::string_view text);

// Sets the ink pixels of the text in the mask, with the text's top left at (x, y).
void StampText(Mask& mask, int x, int y, std::string_view text);

}  // namespace hopla::gen
