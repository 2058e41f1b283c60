// The ending: dissolve, reveal, ball run, typed messages and the final screen, on the clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sequences/Score.h"
#include "shell/GameFiles.h"
#include "support/SequenceTesting.h"

namespace hopla {
namespace {

using testing::ClickTimes;
using testing::HandlerLog;

constexpr Color kStageColour = Rgb(200, 40, 0);  // stands for the last stage on screen

// The ending starts at time 0 of these offsets (kStart on the clock).
constexpr double kStart = 255;               // after a stage 20 introduction of 51 ticks at 5 ms
constexpr double kDissolve = kStart + 2500;  // 19 ticks, 200 ms apart
constexpr double kReveal = kDissolve + 18 * 200 + 3000;  // 19 ticks, 100 ms apart
constexpr double kRun = kReveal + 18 * 100 + 2000;       // 103 ticks, 100 ms apart
constexpr double kRunEnd = kRun + 102 * 100;

class Ending : public ::testing::Test {
  protected:
    // A game cleared with two balls lost and 1100 ticks in every stage: score 21 x 110 + 60.
    Ending()
        : sim(11, HOPLA_BUILD_DIR, WaveFileLength),
          s(sim.state()),
          f(sim.form()),
          sounds(sim.sound()) {
        s.StageNo = 20;
        s.BallsLeft = 7;
        for (int i = 0; i <= 20; ++i) s.StageTime[i] = 1100;
        testing::StartIntroduction(sim, kBallInPlay);  // captions up, Display's print settings
        sim.runUntil(kStart);
        f.Display.fillRect(f.Display.bounds(), kStageColour);
        testing::StartEnding(sim);
    }

    // The pixel a revealed scene cell shows, from the ending sheet.
    Color SceneAt(int x, int y) const {
        const int k = s.TileGrid[x / 32][y / 32];
        return f.EndChip.point(32 * k + x % 32, y % 32);
    }

    SimCore sim;
    GameState& s;
    Form1& f;
    testing::SoundLog sounds;
};

TEST_F(Ending, DissolveTicksEvery200msWithAClick) {
    HandlerLog log(sim);
    sim.runUntil(kReveal - 1);
    std::vector<double> want;
    for (int k = 0; k < 19; ++k) want.push_back(kDissolve + 200 * k);
    EXPECT_EQ(log.times("Etimer"), want);
    EXPECT_EQ(ClickTimes(sounds), want);
    sim.runUntil(kRunEnd + 2999);  // the reveal and the ball run are silent
    EXPECT_EQ(ClickTimes(sounds), want);
}

TEST_F(Ending, DissolveBlackensCellsAndMarksTheNextOnesGrey) {
    std::vector<int> blackAt(25 * 19, -1);  // tick at which each cell turns black
    for (int t = 0; t < 19; ++t)
        for (int i = 0; i < 25; ++i) blackAt[s.CellOrderY[i][t] * 25 + s.CellOrderX[i][t]] = t;
    ASSERT_EQ(std::count(blackAt.begin(), blackAt.end(), -1), 0);

    for (int t = 0; t < 19; ++t) {
        sim.runUntil(kDissolve + 200 * t);
        for (int r = 0; r < 19; ++r)
            for (int c = 0; c < 25; ++c) {
                const int when = blackAt[r * 25 + c];
                const Color want = when <= t       ? kBlack
                                   : when == t + 1 ? PaletteColor(8)
                                                   : kStageColour;
                ASSERT_EQ(f.Display.point(32 * c + 16, 32 * r + 16), want)
                    << "cell " << c << ", " << r << " at tick " << t;
            }
    }
    const Image& shown = f.Display.image();
    EXPECT_TRUE(std::all_of(shown.pixels.begin(), shown.pixels.end(),
                            [](std::uint32_t p) { return p == kBlack; }));
}

TEST_F(Ending, DissolveEndWritesTheSceneIntoStageZeroAndClearsBack) {
    f.Back.fillRect(f.Back.bounds(), kStageColour);
    sim.runUntil(kDissolve + 200 * 18);
    EXPECT_EQ(s.EndPhase, 1);
    EXPECT_EQ(s.Tick, 0);
    EXPECT_EQ(f.Etimer.interval(), 3000);
    for (int row = 0; row < 19; ++row) {
        const char digit = row < 12 ? '0' : row == 12 ? '2' : '1';
        EXPECT_EQ(s.StageMap[0][row], std::string(25, digit)) << row;
        for (int col = 0; col < 25; ++col) ASSERT_EQ(s.TileGrid[col][row], digit - '0');
    }
    const Image& back = f.Back.image();
    EXPECT_TRUE(std::all_of(back.pixels.begin(), back.pixels.end(),
                            [](std::uint32_t p) { return p == kBlack; }));
}

TEST_F(Ending, RevealDrawsTheSceneInTheSameOrder) {
    HandlerLog log(sim);
    std::vector<int> drawnAt(25 * 19, -1);
    for (int t = 0; t < 19; ++t)
        for (int i = 0; i < 25; ++i) drawnAt[s.CellOrderY[i][t] * 25 + s.CellOrderX[i][t]] = t;

    for (int t = 0; t < 19; ++t) {
        sim.runUntil(kReveal + 100 * t);
        ASSERT_EQ(f.Display.image(), f.Back.image()) << "tick " << t;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const int when = drawnAt[(y / 32) * 25 + x / 32];
                const Color want = when <= t ? SceneAt(x, y) : when == t + 1 ? kWhite : kBlack;
                ASSERT_EQ(f.Display.point(x, y), want) << x << ", " << y << " at tick " << t;
            }
    }
    std::vector<double> want;
    for (int k = 0; k < 19; ++k) want.push_back(kReveal + 100 * k);
    EXPECT_EQ(log.times("Etimer", kReveal - 1), want);
}

TEST_F(Ending, RevealEndHidesTheLabelsAndKeepsTheScene) {
    sim.runUntil(kReveal + 100 * 17);
    EXPECT_TRUE(f.Label1.visible());  // the stage 20 captions, painted over long ago
    sim.runUntil(kReveal + 100 * 18);
    EXPECT_FALSE(f.Label1.visible());
    EXPECT_FALSE(f.Label2.visible());
    ASSERT_TRUE(f.Display.backgroundPicture());
    EXPECT_EQ(*f.Display.backgroundPicture(), f.Back.image());
    EXPECT_EQ(f.Display.image(), f.Back.image());
    EXPECT_EQ(s.EndPhase, 2);
    EXPECT_EQ(f.Etimer.interval(), 2000);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.TrailX[k], 0);
        EXPECT_EQ(s.TrailY[k], 350);
    }
    EXPECT_EQ(s.SpeedX, 8.0f);
    EXPECT_EQ(s.SpeedY, 3);
    EXPECT_EQ(s.BallColor, 15);
}

TEST_F(Ending, BallBouncesAlongTheHorizonFor103Ticks) {
    const std::vector<double> heights = {348, 350, 356, 366, 380, 398, 366, 356, 350};
    sim.runUntil(kRun - 1);
    for (int n = 1; n <= 103; ++n) {
        sim.runUntil(kRun + 100 * (n - 1));
        SCOPED_TRACE(n);
        ASSERT_EQ(s.TrailY[0], heights[(n - 1) % 9]);
        ASSERT_EQ(s.TrailX[0], 8 * n);
        ASSERT_EQ(s.TrailX[1], s.TrailX[0]);
        ASSERT_EQ(s.TrailX[3], std::max(0, 8 * (n - 2)));
        if (n < 103) {
            ASSERT_EQ(s.EndPhase, 2);
            // The frame is the scene plus the ball, white at its head.
            if (s.TrailX[0] < 800) {
                ASSERT_EQ(f.Display.point(s.TrailX[0], s.TrailY[0]), kWhite);
            }
            const Image& shown = f.Display.image();
            const Image& scene = f.Back.image();
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 800; ++x)
                    if (shown.at(x, y) != scene.at(x, y)) {
                        ASSERT_TRUE(x >= s.TrailX[3] - 1 && x <= s.TrailX[0] + 1) << x << ", " << y;
                    }
        }
    }
    EXPECT_EQ(s.EndPhase, 3);
    EXPECT_EQ(s.Tick, 1);
    EXPECT_EQ(f.Etimer.interval(), 3000);
    EXPECT_EQ(s.TypingSteps[0][0], "Thank you for playing.");
    // The ball is gone: Display shows its new background, the scene.
    EXPECT_EQ(f.Display.image(), f.Back.image());
    EXPECT_EQ(*f.Display.backgroundPicture(), f.Back.image());
    const Label& l = f.Label1;
    EXPECT_TRUE(l.visible());
    EXPECT_TRUE(l.transparent());
    EXPECT_EQ(l.caption(), "");
    EXPECT_EQ(l.width(), 400);
    EXPECT_EQ(l.left(), 280);
    EXPECT_EQ(l.top(), 200);
    EXPECT_EQ(l.foreColor(), kWhite);
}

TEST_F(Ending, MessagesAreTypedWithSilentSpacesAndPauses) {
    sim.runUntil(kRunEnd);
    ASSERT_EQ(s.EndPhase, 3);
    struct Shown {
        double t;
        std::string caption;
        int left;
    };
    std::vector<Shown> shown;
    const ObserverHandle watching = sim.game().observe([&](std::string_view name) {
        if (name == "Etimer") shown.push_back({sim.nowMs(), f.Label1.caption(), f.Label1.left()});
    });
    sim.runUntil(kRunEnd + 200000);

    struct Message {
        std::string text;
        int left;
        int pause;
    };
    const std::vector<Message> messages = {{"Thank you for playing.", 280, 3000},
                                           {"You are great Hopla player.", 260, 3000},
                                           {"See you again.", 345, 3000},
                                           {"Sorami (ZEV)", 345, 3000},
                                           {"The end", 365, 7000}};
    std::vector<Shown> want;
    std::vector<double> clicks;
    double t = kRunEnd + 3000;
    for (std::size_t j = 0; j < messages.size(); ++j) {
        const Message& m = messages[j];
        for (std::size_t k = 1; k <= m.text.size(); ++k) {
            want.push_back({t, m.text.substr(0, k), m.left});
            if (m.text[k - 1] != ' ') clicks.push_back(t);
            if (k < m.text.size()) t += j == 4 ? 80 * static_cast<double>(k) + 160 : 160;
        }
        t += m.pause;
    }
    const double finalScreen = t;

    ASSERT_EQ(shown.size(), want.size() + 1);
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(shown[i].t, want[i].t) << i;
        EXPECT_EQ(shown[i].caption, want[i].caption) << i;
        EXPECT_EQ(shown[i].left, want[i].left) << i;
    }
    EXPECT_EQ(shown.back().t, finalScreen);
    EXPECT_EQ(ClickTimes(sounds, kRunEnd), clicks);
    EXPECT_EQ(s.EndPhase, 10);
    EXPECT_EQ(f.Etimer.interval(), 0);
}

TEST_F(Ending, MessageIsDrawnOverTheScene) {
    sim.runUntil(kRunEnd + 3000 + 21 * 160);  // "Thank you for playing." complete
    ASSERT_EQ(f.Label1.caption(), "Thank you for playing.");
    const Image want = testing::WithText(f.Back.image(), f.Display, 280, 200,
                                         "Thank you for playing.", f.Label1.font(), kWhite);
    EXPECT_TRUE(testing::SameRows(f.Display.image(), want, 0, 600));
    EXPECT_NE(f.Display.image(), f.Back.image());
}

// Runs the ending to its final screen; returns its time.
double RunToFinalScreen(SimCore& sim) {
    HandlerLog log(sim);
    sim.runUntil(kRunEnd + 200000);
    return log.times("Etimer").back();
}

TEST_F(Ending, FinalScreenShowsScoreAndCode) {
    const double at = RunToFinalScreen(sim);
    EXPECT_EQ(s.Score, 21 * 110 + 60);
    EXPECT_EQ(s.ScoreCode, "enda");
    EXPECT_FALSE(f.Label1.visible());
    Image want = testing::WithPrint(f.Back.image(), f.Display, 345, 240, "Score  2370");
    want = testing::WithPrint(want, f.Display, 345, 300, "ﾊﾟｽﾜｰﾄﾞ   enda");
    EXPECT_TRUE(testing::SameRows(f.Display.image(), want, 0, 600));
    // 7000 ms after "The end" is complete; nothing runs after it.
    sim.runUntil(at + 60000);
    EXPECT_EQ(f.Display.image(), want);
}

TEST_F(Ending, NoCodeFromTenThousandOn) {
    for (int i = 0; i <= 20; ++i) s.StageTime[i] = 32767;
    RunToFinalScreen(sim);
    EXPECT_EQ(s.Score, 21 * 3276 + 60);  // beyond 16 bits, printed as it is
    EXPECT_EQ(s.ScoreCode, "");
    Image want = testing::WithPrint(f.Back.image(), f.Display, 345, 240, "Score  68856");
    want = testing::WithPrint(want, f.Display, 345, 300, "ﾊﾟｽﾜｰﾄﾞ   ");
    EXPECT_TRUE(testing::SameRows(f.Display.image(), want, 0, 600));
}

TEST(ScoreCode, BaseTwentySixLettersLeastSignificantFirst) {
    EXPECT_EQ(ScoreCodeOf(2370), "enda");
    for (int score = 0; score < 10000; ++score) {
        const std::string code = ScoreCodeOf(score);
        ASSERT_EQ(code.size(), 4u);
        int back = 0;
        for (int i = 3; i >= 0; --i) {
            ASSERT_TRUE(code[i] >= 'a' && code[i] <= 'z') << score;
            back = back * 26 + (code[i] - 'a');
        }
        ASSERT_EQ(back, score);
        ASSERT_EQ(code[3], 'a');
    }
}

}  // namespace
}  // namespace hopla
