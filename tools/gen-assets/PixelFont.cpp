// Glyph bitmaps of the sign lettering.
#include "tools/gen-assets/PixelFont.h"

#include <array>

namespace hopla::gen {
namespace {

struct Glyph {
    char ch;
    std::array<const char*, kGlyphHeight> rows;  // '#' is ink; all rows of a glyph equally wide
};

// Only the letters the signs need.
constexpr std::array<Glyph, 7> kGlyphs = {{
    {'E',
     {"######", "######", "##....", "#####.", "#####.", "##....", "##....", "######", "######"}},
    {'n',
     {"......", "......", "......", "#####.", "######", "##..##", "##..##", "##..##", "##..##"}},
    {'d',
     {"....##", "....##", "....##", ".#####", "######", "##..##", "##..##", "######", ".#####"}},
    {'S',
     {".####.", "######", "##....", "#####.", ".#####", "....##", "....##", "######", ".####."}},
    {'t', {".##..", ".##..", "#####", "#####", ".##..", ".##..", ".##..", ".####", "..###"}},
    {'a',
     {"......", "......", "......", ".####.", "....##", ".#####", "##..##", "######", ".#####"}},
    {'r', {".....", ".....", ".....", "##.##", "#####", "###..", "##...", "##...", "##..."}},
}};

const Glyph* Find(char ch) {
    for (const Glyph& g : kGlyphs)
        if (g.ch == ch) return &g;
    return nullptr;
}

int WidthOf(const Glyph& g) {
    return static_cast<int>(std::string_view(g.rows[0]).size());
}

}  // namespace

int TextWidth(std::string_view text) {
    int width = 0;
    int drawn = 0;
    for (char ch : text) {
        if (const Glyph* g = Find(ch)) {
            width += WidthOf(*g);
            ++drawn;
        }
    }
    return drawn > 0 ? width + (drawn - 1) * kGlyphSpacing : 0;
}

void StampText(Mask& mask, int x, int y, std::string_view text) {
    int penX = x;
    for (char ch : text) {
        const Glyph* g = Find(ch);
        if (!g) continue;
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < WidthOf(*g); ++col)
                if (g->rows[row][col] == '#') mask.Set(penX + col, y + row);
        penX += WidthOf(*g) + kGlyphSpacing;
    }
}

}  // namespace hopla::gen
