// Kept renderings of texts: a text drawn again looks exactly as it did the first time, and no
// other text, size or weight is mistaken for it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/text/TtfText.h"

namespace hopla {
namespace {

struct Sample {
    std::string text;
    Font font;
};

Image Draw(const TtfText& renderer, const Sample& s, int x = 3, int y = 2,
           Rect clip = {0, 0, 120, 40}) {
    Image image(120, 40, kBlack);
    renderer.draw(image, clip, x, y, s.text, s.font, kWhite);
    return image;
}

const std::vector<Sample> kSamples = {
    {"Stage 1", {"ＭＳ Ｐゴシック", 18, true}}, {"Stage 1", {"ＭＳ Ｐゴシック", 18, false}},
    {"Stage 1", {"ＭＳ Ｐゴシック", 12, true}}, {"Stage 7", {"ＭＳ Ｐゴシック", 18, true}},
    {"Stage", {"ＭＳ Ｐゴシック", 18, true}},
};

TEST(TtfTextRenderings, DrawnAgainTheSameAndNeverMistakenForAnother) {
    TtfText renderer;
    std::vector<Image> first;
    for (const Sample& s : kSamples) first.push_back(Draw(renderer, s));
    for (std::size_t i = 0; i < kSamples.size(); ++i)
        for (std::size_t j = i + 1; j < kSamples.size(); ++j)
            EXPECT_NE(first[i], first[j]) << i << " and " << j;
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = kSamples.size(); i-- > 0;)
            EXPECT_EQ(Draw(renderer, kSamples[i]), first[i]) << i;
}

TEST(TtfTextRenderings, MovedAndClippedLikeAFreshRendering) {
    TtfText warm, fresh;
    const Sample& s = kSamples[0];
    Draw(warm, s);
    for (const Rect clip : {Rect{0, 0, 120, 40}, Rect{10, 5, 40, 20}, Rect{0, 0, 5, 40}}) {
        EXPECT_EQ(Draw(warm, s, 20, 9, clip), Draw(fresh, s, 20, 9, clip));
        EXPECT_EQ(Draw(warm, s, -6, -4, clip), Draw(fresh, s, -6, -4, clip));
    }
}

TEST(TtfTextRenderings, ManyTextsLaterStillDrawTheFirstOneRight) {
    TtfText renderer;
    const Image first = Draw(renderer, kSamples[0]);
    for (int i = 0; i < 200; ++i) Draw(renderer, {std::to_string(i), kSamples[0].font});
    EXPECT_EQ(Draw(renderer, kSamples[0]), first);
}

// Without a usable font file every text stays blank, and the renderer says so once.
TEST(TtfTextRenderings, NoFontIsSaidOnceAndDrawsNothing) {
    for (const std::string file : {"", "/nonexistent/font.ttf", ""}) {
        std::vector<std::string> said;
        const TtfText renderer([&](const std::string&) { return file; },
                               [&](std::string_view line) { said.emplace_back(line); });
        for (const Sample& s : kSamples)
            EXPECT_EQ(Draw(renderer, s), Image(120, 40, kBlack)) << s.text;
        EXPECT_EQ(said,
                  std::vector<std::string>{"hopla: " + NoFontAdvice() + "; texts stay blank"});
    }
}

}  // namespace
}  // namespace hopla
