// The font behind Display and the labels has every glyph the screens print.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/text/TtfText.h"

namespace hopla {
namespace {

// The pixels one character leaves on black, in the screens' 18-point bold.
Image Rendered(const TtfText& text, const std::string& character) {
    Image image(60, 40, kBlack);
    text.draw(image, {0, 0, 60, 40}, 4, 4, character, {"ＭＳ Ｐゴシック", 18, true}, kWhite);
    return image;
}

// Half-width katakana of the password caption and the full-width letters and digits of the
// title screen: each must be a real glyph, not the box the font shows for a missing one.
TEST(Glyphs, ScreensTextsHaveGlyphs) {
    TtfText text;
    const Image missing = Rendered(text, "\xEE\x80\x80");  // U+E000, a private-use character
    for (const char* c : {"ﾊ", "ﾟ",  "ｽ",  "ﾜ",  "ｰ",  "ﾄ",  "ﾞ",  "１", "９", "７",
                          ".", "Ｓ", "ｏ", "ｒ", "ａ", "ｍ", "ｉ", "Ｈ", "ｐ", "ｌ"}) {
        const Image glyph = Rendered(text, c);
        EXPECT_NE(glyph, Image(60, 40, kBlack)) << c;
        EXPECT_NE(glyph, missing) << c;
    }
}

TEST(Glyphs, TheFaceFallsBackToAJapaneseGothic) {
    TtfText text;
    const std::string file = text.fileFor("ＭＳ Ｐゴシック");
    EXPECT_NE(file.find("ipag"), std::string::npos) << file;
}

}  // namespace
}  // namespace hopla
