// The stage introduction: the band wipe, the captions and score, and its three hand-overs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "shell/GameFiles.h"
#include "support/SequenceTesting.h"

namespace hopla {
namespace {

using testing::HandlerLog;
using testing::StartIntroduction;

constexpr Color kStageColour = Rgb(200, 40, 0);  // stands for the stage left behind
constexpr double kWipeEnd = 255;                 // 51 ticks of 5 ms from time 0

bool RowIs(const Picture& p, int y, Color c) {
    for (int x = 0; x < p.width(); ++x)
        if (p.point(x, y) != c) return false;
    return true;
}

TEST(Introduction, FiftyOneTicksAtASixthOfTheBallInterval) {
    SimCore sim(5, HOPLA_BUILD_DIR, WaveFileLength);
    HandlerLog log(sim);
    StartIntroduction(sim, kBallInPlay);
    sim.runUntil(1000);
    std::vector<double> want;
    for (int k = 1; k <= 51; ++k) want.push_back(5.0 * k);
    EXPECT_EQ(log.times("Timer4"), want);
    EXPECT_EQ(sim.form().Timer4.interval(), 0);
}

TEST(Introduction, BandsBlackOutDisplayInTheShuffledOrder) {
    SimCore sim(5, HOPLA_BUILD_DIR, WaveFileLength);
    Picture& d = sim.form().Display;
    d.fillRect(d.bounds(), kStageColour);
    StartIntroduction(sim, kBallInPlay);
    const GameState& s = sim.state();
    std::vector<bool> covered(600, false);
    for (int k = 0; k < 50; ++k) {
        sim.runUntil(5.0 * (k + 1));
        // Pen width 3: the box (0, A)-(800, A + 12) covers rows A - 1 .. A + 13.
        const int a = s.BandOrder[k];
        for (int y = std::max(a - 1, 0); y <= std::min(a + 13, 599); ++y) covered[y] = true;
        for (int y = 0; y < 600; ++y)
            ASSERT_TRUE(RowIs(d, y, covered[y] ? kBlack : kStageColour))
                << "row " << y << " after tick " << k;
    }
    EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](bool b) { return b; }));
}

TEST(Introduction, StageCaptions) {
    struct Case {
        int stageNo;
        std::int16_t ballsLeft;
        const char* stage;
        const char* balls;
    };
    for (const Case& c :
         {Case{0, 9, "Stage   0", "9  Hopla"}, Case{9, 3, "Stage   9", "3  Hopla"},
          Case{10, 1, "stage  10", "1  Hopla"}, Case{20, 9, "stage  20", "9  Hopla"}}) {
        SimCore sim(5, HOPLA_BUILD_DIR, WaveFileLength);
        sim.state().StageNo = c.stageNo;
        sim.state().BallsLeft = c.ballsLeft;
        StartIntroduction(sim, kBallInPlay);
        Form1& f = sim.form();
        sim.runUntil(kWipeEnd - 1);
        EXPECT_FALSE(f.Label1.visible());
        sim.runUntil(kWipeEnd);
        EXPECT_EQ(f.Label1.caption(), c.stage);
        EXPECT_EQ(f.Label2.caption(), c.balls);
        EXPECT_TRUE(f.Label1.visible() && f.Label2.visible());
        EXPECT_EQ(f.Label1.left(), 345);
        EXPECT_EQ(f.Label1.top(), 260);
        EXPECT_EQ(f.Label2.left(), 345);
        EXPECT_EQ(f.Label2.top(), 297);
        // Painted on Display at once.
        Image want(800, 600, kBlack);
        want = testing::WithText(want, f.Display, 345, 260, c.stage, f.Label1.font(), kWhite);
        want = testing::WithText(want, f.Display, 345, 297, c.balls, f.Label2.font(), kWhite);
        EXPECT_TRUE(testing::SameRows(f.Display.image(), want, 0, 335)) << c.stage;
    }
}

// The score line: ticks per stage over ten, current stage included, 30 per lost ball. The
// total is 32-bit: 21 stages at the 16-bit limit print in full.
TEST(Introduction, ScoreIsSummedAndPrinted) {
    struct Case {
        int stageNo;
        std::int16_t ballsLeft;
        std::map<int, std::int16_t> stageTime;
        int score;
    };
    std::map<int, std::int16_t> full;
    for (int i = 0; i <= 20; ++i) full[i] = 32767;
    const std::vector<Case> cases = {
        {2, 9, {{0, 9}, {1, 10}, {2, 199}}, 0 + 1 + 19},
        {2, 7, {{0, 9}, {1, 10}, {2, 199}}, 20 + 2 * 30},
        {1, 9, {{0, 9}, {1, 10}, {2, 199}}, 1},  // later stages do not count
        {0, 8, {{0, 25}, {21, 500}}, 2 + 30},    // nor does the title stage
        {5, 0, {}, 270},
        {20, 9, full, 21 * 3276},
    };
    for (const Case& c : cases) {
        SimCore sim(5, HOPLA_BUILD_DIR, WaveFileLength);
        GameState& s = sim.state();
        s.StageNo = c.stageNo;
        s.BallsLeft = c.ballsLeft;
        for (auto [stage, ticks] : c.stageTime) s.StageTime[stage] = ticks;
        StartIntroduction(sim, kBallInPlay);
        sim.runUntil(kWipeEnd);
        EXPECT_EQ(s.Score, c.score) << "stage " << c.stageNo;

        const Picture& d = sim.form().Display;
        EXPECT_EQ(d.foreColor(), kWhite);
        EXPECT_EQ(d.font().points, 18);
        EXPECT_TRUE(d.font().bold);
        const std::string line = "Score  " + std::to_string(c.score);
        const Image want = testing::WithPrint(Image(800, 600, kBlack), d, 345, 340, line);
        EXPECT_TRUE(testing::SameRows(d.image(), want, 331, 600)) << line;
    }
}

TEST(Introduction, HandOvers) {
    struct Case {
        int ballState;
        int timer5, timer6, tick;
        std::int16_t typingRow;
        bool captions;
    };
    for (const Case& c :
         {Case{kBallInPlay, 300, 0, 1, 1, true}, Case{kBallToTitle, 300, 0, 5, 0, false},
          Case{kBallGameOver, 0, 500, 2, 1, false}}) {
        SimCore sim(5, HOPLA_BUILD_DIR, WaveFileLength);
        GameState& s = sim.state();
        Form1& f = sim.form();
        s.StageNo = 4;
        s.BallColor = 0;
        s.TypingRow = c.ballState == kBallGameOver ? 0 : 1;  // an ordinary stage keeps it
        StartIntroduction(sim, c.ballState);
        sim.runUntil(kWipeEnd);
        SCOPED_TRACE(c.ballState);
        EXPECT_EQ(f.Timer4.interval(), 0);
        EXPECT_EQ(f.Timer5.interval(), c.timer5);
        EXPECT_EQ(f.Timer6.interval(), c.timer6);
        EXPECT_EQ(s.Tick, c.tick);
        EXPECT_EQ(s.BallState, kBallInPlay);
        EXPECT_EQ(s.TypingRow, c.typingRow);
        EXPECT_EQ(s.BallColor, c.captions ? 0 : 15);
        EXPECT_EQ(f.Label1.visible(), c.captions);
        EXPECT_EQ(f.Label2.visible(), c.captions);
        const Image& shown = f.Display.image();
        EXPECT_EQ(std::all_of(shown.pixels.begin(), shown.pixels.end(),
                              [](std::uint32_t p) { return p == kBlack; }),
                  !c.captions);
    }
}

// After the wipe of a game over: the banner keeps the last caption until its first step,
// types "Game Over" from 1.0 s to 2.36 s, clears it at 4.4 s and resumes play at 5.08 s.
TEST(Introduction, GameOverBanner) {
    SimCore sim(5, HOPLA_BUILD_DIR, WaveFileLength);
    testing::SoundLog sounds(sim.sound());
    Form1& f = sim.form();
    f.Label1.setCaption("Stage   3");
    f.Label1.setVisible(true);
    f.Label2.setCaption("1  Hopla");
    f.Label2.setVisible(true);
    StartIntroduction(sim, kBallGameOver);
    sim.runUntil(kWipeEnd + 999);
    EXPECT_EQ(f.Label1.caption(), "Stage   3");
    EXPECT_EQ(f.Label2.caption(), "1  Hopla");
    EXPECT_TRUE(testing::ClickTimes(sounds).empty());

    const std::vector<const char*> words = {"Ga", "Game", "Game O", "Game Ove", "Game Over"};
    std::vector<double> steps;
    for (std::size_t i = 0; i < words.size(); ++i) {
        steps.push_back(kWipeEnd + 1000 + 340 * static_cast<double>(i));
        sim.runUntil(steps.back());
        EXPECT_EQ(f.Label1.caption(), words[i]);
        EXPECT_EQ(f.Label1.left(), 355);
        EXPECT_EQ(f.Label2.caption(), "");
    }
    EXPECT_EQ(testing::ClickTimes(sounds), steps);
    sim.runUntil(kWipeEnd + 4399);
    EXPECT_EQ(f.Label1.caption(), "Game Over");
    sim.runUntil(kWipeEnd + 4400);
    EXPECT_EQ(f.Label1.caption(), "");
    sim.runUntil(kWipeEnd + 5079);
    EXPECT_EQ(f.Timer1.interval(), 0);
    sim.runUntil(kWipeEnd + 5080);
    EXPECT_EQ(f.Timer6.interval(), 0);
    EXPECT_EQ(f.Timer1.interval(), sim.state().BallInterval);
}

}  // namespace
}  // namespace hopla
