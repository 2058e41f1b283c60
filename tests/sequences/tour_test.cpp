// The screenshot tour (scripts/tour.sim) through hopla-sim: title, stage introduction, game
// over and the whole ending, checked by its label captions, states and pixels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "assets/Sheets.h"
#include "support/SimRun.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;
using testing::Json;
using testing::SimRun;

const char* const kShots[] = {"01-title.png",     "02-title-word.png", "03-stage-3.png",
                              "04-game-over.png", "05-dissolve.png",   "06-ball-run.png",
                              "07-message.png",   "08-final.png"};

class Tour : public ::testing::Test {
  protected:
    void SetUp() override {
        shots = fs::path(::testing::TempDir()) / ("hopla-tour-" + std::to_string(getpid()));
        fs::create_directories(shots);
        std::ifstream in(fs::path(HOPLA_ASSET_DIR) / "../tests/sequences/scripts/tour.sim");
        ASSERT_TRUE(in.good());
        std::ostringstream script;
        for (std::string line; std::getline(in, line);) {
            if (const std::size_t at = line.find("SHOTS"); at != std::string::npos)
                line.replace(at, 5, shots.string());
            script << line << '\n';
        }
        run = testing::Simulate(script.str(), 1);
        ASSERT_EQ(run.status, 0) << run.err;
        states = run.with("StageNo");
        pixels = run.with("color");
    }
    void TearDown() override { fs::remove_all(shots); }

    static const Json& Label(const Json& state, const char* name) { return state["labels"][name]; }

    fs::path shots;
    SimRun run;
    std::vector<Json> states;
    std::vector<Json> pixels;
};

TEST_F(Tour, WritesEveryShot) {
    for (const char* name : kShots) {
        std::ifstream png(shots / name, std::ios::binary);
        char signature[8] = {};
        png.read(signature, 8);
        EXPECT_EQ(std::string(signature + 1, 3), "PNG") << name;
        EXPECT_GT(fs::file_size(shots / name), 1000u) << name;
    }
}

TEST_F(Tour, TitleAndIntroductionCaptions) {
    ASSERT_EQ(states.size(), 11u);
    struct Captions {
        std::size_t state;
        const char* label1;
        const char* label2;
    };
    for (const Captions& c : {Captions{0, "１９９９.１１.７", "Ｓｏｒａｍｉ"},
                              Captions{1, "Ｈｏｐｌａ", ""}, Captions{2, "Stage   3", "7  Hopla"},
                              Captions{5, "Game Over", ""}, Captions{6, "", ""}}) {
        EXPECT_EQ(Label(states[c.state], "Label1")["caption"].text, c.label1) << c.state;
        EXPECT_EQ(Label(states[c.state], "Label2")["caption"].text, c.label2) << c.state;
        EXPECT_TRUE(Label(states[c.state], "Label1")["visible"].boolean) << c.state;
    }
    // The stage 3 introduction sums the stage times the script set, with two balls lost.
    EXPECT_EQ(states[2]["Score"].number, 523 / 10 + 871 / 10 + 1210 / 10 + 2 * 30);
    EXPECT_EQ(states[3]["StageNo"].number, 3);
    EXPECT_EQ(states[3]["timers"]["Timer1"].number, 30);
    EXPECT_EQ(states[4]["BallState"].number, kBallGameOver);
    EXPECT_EQ(states[6]["StageNo"].number, 21);
    EXPECT_EQ(states[6]["timers"]["Timer1"].number, 30);
    EXPECT_EQ(pixels[0]["color"].number, 0);  // the title's black
    EXPECT_EQ(pixels[1]["color"].number, 0);  // the wiped screen
}

TEST_F(Tour, EndingScreens) {
    ASSERT_EQ(states.size(), 11u);
    ASSERT_EQ(pixels.size(), 7u);
    const Image& sheet = assets::EndingSheet();
    const double sky = sheet.at(16, 16), ground = sheet.at(32 + 16, 16);

    EXPECT_EQ(states[7]["EndPhase"].number, 0);
    EXPECT_EQ(states[7]["Tick"].number, 10);

    const Json& run8 = states[8];
    EXPECT_EQ(run8["EndPhase"].number, 2);
    EXPECT_EQ(run8["TrailX"][0].number, 400);
    EXPECT_EQ(run8["TrailY"][0].number, 380);
    EXPECT_FALSE(Label(run8, "Label1")["visible"].boolean);
    EXPECT_EQ(pixels[2]["color"].number, 0xFFFFFF);  // the ball's head
    EXPECT_EQ(pixels[3]["color"].number, sky);
    EXPECT_EQ(pixels[4]["color"].number, ground);

    const Json& message = Label(states[9], "Label1");
    EXPECT_EQ(message["caption"].text, "Thank you for playing.");
    EXPECT_TRUE(message["visible"].boolean);
    EXPECT_TRUE(message["transparent"].boolean);
    EXPECT_EQ(message["left"].number, 280);

    const Json& final = states[10];
    EXPECT_EQ(final["EndPhase"].number, 10);
    EXPECT_FALSE(Label(final, "Label1")["visible"].boolean);
    for (const std::string& timer : final["timers"].keys())
        EXPECT_EQ(final["timers"][timer].number, 0) << timer;
    const int score = static_cast<int>(final["Score"].number);
    const std::string code = final["ScoreCode"].text;
    ASSERT_EQ(code.size(), 4u);
    EXPECT_EQ(code[0] - 'a' + 26 * (code[1] - 'a') + 676 * (code[2] - 'a'), score);
    EXPECT_EQ(pixels[5]["color"].number, sky);
    EXPECT_EQ(pixels[6]["color"].number, ground);

    EXPECT_EQ(run.lines.back()["event"].text, "end");
    EXPECT_EQ(run.lines.back()["t"].number, final["t"].number);
}

}  // namespace
}  // namespace hopla
