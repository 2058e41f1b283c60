// The title: black until 2 s, the two captions, the typed title word, play on the title stage.
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/Sheets.h"
#include "shell/GameFiles.h"
#include "support/SequenceTesting.h"

namespace hopla {
namespace {

using testing::ClickTimes;
using testing::HandlerLog;
using testing::WithText;

bool AllBlack(const Image& image) {
    return std::all_of(image.pixels.begin(), image.pixels.end(),
                       [](std::uint32_t p) { return p == kBlack; });
}

TEST(Title, BlackWithoutLabelsUntilTwoSeconds) {
    SimCore sim(3, HOPLA_BUILD_DIR, WaveFileLength);
    HandlerLog log(sim);
    sim.runUntil(1999);
    EXPECT_TRUE(log.times("Timer2").empty());
    EXPECT_TRUE(AllBlack(sim.form().Display.image()));
    EXPECT_FALSE(sim.form().Label1.visible());
    EXPECT_FALSE(sim.form().Label2.visible());
}

TEST(Title, CaptionsAtTwoSeconds) {
    SimCore sim(3, HOPLA_BUILD_DIR, WaveFileLength);
    HandlerLog log(sim);
    sim.runUntil(2000);
    Form1& f = sim.form();
    EXPECT_EQ(log.times("Timer2"), std::vector<double>{2000});
    EXPECT_EQ(f.Timer2.interval(), 0);
    EXPECT_EQ(f.Timer6.interval(), 500);
    EXPECT_EQ(sim.state().Tick, -4);
    EXPECT_EQ(sim.state().TypingRow, 0);

    struct Expected {
        const Label& label;
        const char* caption;
        int left, top;
    };
    for (const Expected& e : {Expected{f.Label1, "１９９９.１１.７", 335, 260},
                              Expected{f.Label2, "Ｓｏｒａｍｉ", 355, 295}}) {
        EXPECT_TRUE(e.label.visible());
        EXPECT_EQ(e.label.caption(), e.caption);
        EXPECT_EQ(e.label.left(), e.left);
        EXPECT_EQ(e.label.top(), e.top);
    }
    // On Display: black, with both captions painted in the labels' font.
    Image want(800, 600, kBlack);
    want = WithText(want, f.Display, 335, 260, "１９９９.１１.７", f.Label1.font(), kWhite);
    want = WithText(want, f.Display, 355, 295, "Ｓｏｒａｍｉ", f.Label2.font(), kWhite);
    EXPECT_TRUE(testing::SameRows(f.Display.image(), want, 0, 600));
    EXPECT_FALSE(AllBlack(f.Display.image()));
}

TEST(Title, LauncherCellGetsDarkSideColumns) {
    SimCore sim(3, HOPLA_BUILD_DIR, WaveFileLength);
    sim.runUntil(2000);
    const Image& sheet = assets::TileSheet();
    const Picture& chip = sim.form().Chip;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 240; ++x) {
            const bool dark = (x >= 120 && x <= 122) || (x >= 157 && x <= 159);
            const Color want = dark ? Rgb(10, 10, 10) : static_cast<Color>(sheet.at(x, y));
            ASSERT_EQ(chip.point(x, y), want) << x << ", " << y;
        }
}

TEST(Title, BannerTypesTheTitleWord) {
    SimCore sim(3, HOPLA_BUILD_DIR, WaveFileLength);
    testing::SoundLog sounds(sim.sound());
    HandlerLog log(sim);
    Form1& f = sim.form();

    sim.runUntil(4499);  // the captions stay 2.5 s
    EXPECT_EQ(f.Label1.caption(), "１９９９.１１.７");
    EXPECT_EQ(f.Label2.caption(), "Ｓｏｒａｍｉ");
    sim.runUntil(4500);
    EXPECT_EQ(f.Label1.caption(), "");
    EXPECT_EQ(f.Label2.caption(), "");
    EXPECT_TRUE(ClickTimes(sounds).empty());

    const std::vector<double> steps = {6000, 6340, 6680, 7020, 7360};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        sim.runUntil(steps[i]);
        EXPECT_EQ(f.Label1.caption(), sim.state().TypingSteps[0][i]) << steps[i];
        EXPECT_EQ(f.Label1.left(), 355);
        EXPECT_EQ(f.Label2.caption(), "");
    }
    EXPECT_EQ(f.Label1.caption(), "Ｈｏｐｌａ");
    EXPECT_EQ(ClickTimes(sounds), steps);

    sim.runUntil(9399);
    EXPECT_EQ(f.Label1.caption(), "Ｈｏｐｌａ");
    sim.runUntil(9400);
    EXPECT_EQ(f.Label1.caption(), "");

    std::vector<double> banner = {2500, 3000, 3500, 4000, 4500, 5000, 5500};
    for (double t = 6000; t <= 10080; t += 340) banner.push_back(t);
    sim.runUntil(10080);
    EXPECT_EQ(log.times("Timer6"), banner);
    EXPECT_EQ(ClickTimes(sounds).size(), 5u);
}

TEST(Title, PlayStartsOnTheTitleStageAfterTheBanner) {
    SimCore sim(3, HOPLA_BUILD_DIR, WaveFileLength);
    Form1& f = sim.form();
    const GameState& s = sim.state();
    sim.runUntil(10079);
    EXPECT_EQ(f.Timer1.interval(), 0);
    EXPECT_EQ(f.Timer6.interval(), 340);
    sim.runUntil(10080);
    EXPECT_EQ(f.Timer6.interval(), 0);
    EXPECT_EQ(f.Timer1.interval(), s.BallInterval);

    // The title stage, with the darkened launcher sheet, and no ball yet: the trail is one
    // point and the speeds are 0.
    EXPECT_EQ(f.Display.image(), f.Back.image());
    for (int row = 0; row < 15; ++row)
        for (int col = 0; col < 20; ++col) {
            const int code = s.TileGrid[col][row];
            for (int y = 0; y < 40; y += 13)
                for (int x = 0; x < 40; x += 13) {
                    const Color want = code == 0 ? kBlack : f.Chip.point(40 * (code - 1) + x, y);
                    ASSERT_EQ(f.Display.point(40 * col + x, 40 * row + y), want)
                        << "cell " << col << ", " << row;
                }
        }
}

}  // namespace
}  // namespace hopla
