// The replay corpus (tests/demos): every demo plays back with every check line matching, shows
// what it was made to show, and the checker catches a demo that was tampered with.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "demo/DemoFile.h"
#include "demo/DemoStages.h"
#include "headless/DemoPlayback.h"
#include "shell/GameFiles.h"
#include "shell/StageLookup.h"
#include "support/SoundLog.h"
#include "toolkit/FilePath.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(HOPLA_ASSET_DIR) / "../tests/demos";

std::vector<std::string> CorpusNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kCorpus))
        if (entry.path().extension() == ".demo") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Plays a demo in a fresh game made with its seed; the game is left as the playback left it.
struct Played {
    Demo demo;
    SimCore sim;
    testing::SoundLog log{sim.sound()};
    PlaybackResult result;
    explicit Played(Demo d) : demo(std::move(d)), sim(demo.seed, HOPLA_BUILD_DIR, WaveFileLength) {
        // A demo of new stages finds its stage file by name and hash, as the programs do: the
        // shipped one lies in stages/ beside them in the build tree.
        if (demo.stages) {
            const StagesForDemo chosen =
                ChooseStagesForDemo(demo, std::nullopt, "", HOPLA_BUILD_DIR "/");
            EXPECT_TRUE(chosen.stages) << chosen.refusal.value_or("");
            if (chosen.stages) sim.game().applyStages(chosen.stages->file);
        }
        result = PlayDemo(sim, demo);
    }
    int sounds(const std::string& file) {
        return static_cast<int>(std::count_if(
            log.calls().begin(), log.calls().end(), [&](const RecordingSound::Call& c) {
                return c.path && fs::path(*c.path).filename() == file;
            }));
    }
};

Demo Load(const std::string& name) {
    return ReadDemoFile((kCorpus / (name + ".demo")).string());
}

class Corpus : public ::testing::TestWithParam<std::string> {};

TEST_P(Corpus, PlaysBackWithEveryCheckMatching) {
    Played played(Load(GetParam()));
    EXPECT_FALSE(played.result.mismatch) << played.result.mismatch->message();
    EXPECT_TRUE(played.result.finished);
}

INSTANTIATE_TEST_SUITE_P(Demos, Corpus, ::testing::ValuesIn(CorpusNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(CorpusContents, EachDemoShowsWhatItWasMadeFor) {
    using Fact = std::function<bool(Played&)>;
    const struct {
        const char* demo;
        const char* what;
        Fact holds;
    } facts[] = {
        {"game", "the whole game without a lost ball, to the closing click",
         [](Played& p) {
             const GameState& s = p.sim.state();
             return p.sim.game().ended() && s.EndPhase == 10 && s.BallsLeft == kBallsPerGame &&
                    s.ScoreCode.size() == 4 && p.sounds("otita.wav") == 0;
         }},
        {"slow-game", "a whole game whose score passes 32767, shown whole and without a code",
         [](Played& p) {
             const GameState& s = p.sim.state();
             return p.sim.game().ended() && s.EndPhase == 10 && s.Score > 32767 &&
                    s.ScoreCode.empty();
         }},
        {"title", "the ball on the title stage",
         [](Played& p) {
             return p.sim.state().StageNo == kTitleStage && p.sim.form().Timer1.running();
         }},
        {"new-game", "stage 0 in play",
         [](Played& p) { return p.sim.state().StageNo == 0 && p.sim.form().Timer1.running(); }},
        {"space-to-title", "back on the title stage from stage 0",
         [](Played& p) {
             return p.sim.state().StageNo == kTitleStage && p.sounds("next.wav") == 2;
         }},
        {"title-room", "a new game after play in the title room",
         [](Played& p) { return p.sim.state().StageNo == 0; }},
        {"quit", "the game ended down the End shaft",
         [](Played& p) { return p.sim.game().ended() && p.sim.state().StageNo == kTitleStage; }},
        {"speed-faster", "the fastest pace",
         [](Played& p) { return p.sim.state().BallInterval == 15 && p.sounds("keri.wav") == 1; }},
        {"speed-slower", "three presses slower, one faster",
         [](Played& p) { return p.sim.state().BallInterval == 60; }},
        {"speed-slowest", "the slowest pace",
         [](Played& p) { return p.sim.state().BallInterval == 65535; }},
        {"wall-kick", "a kick", [](Played& p) { return p.sounds("keri.wav") == 1; }},
        {"lost-ball", "one ball lost and the stage in play again",
         [](Played& p) { return p.sim.state().BallsLeft == 8 && p.sim.form().Timer1.running(); }},
        {"launcher-wait", "a catch, a launch and a lost ball",
         [](Played& p) {
             return p.sounds("kabe.wav") == 1 && p.sounds("jump.wav") == 1 &&
                    p.sim.state().BallsLeft == 8;
         }},
        {"game-over", "the banner over and play on the title stage",
         [](Played& p) {
             const GameState& s = p.sim.state();
             return s.BallsLeft == 0 && s.StageNo == kTitleStage && p.sim.form().Timer1.running();
         }},
        {"ending", "the final screen and the closing click",
         [](Played& p) { return p.sim.game().ended() && p.sim.state().EndPhase == 10; }},
        {"stage-time-limit", "stage 0's time stopped at 32767",
         [](Played& p) { return p.sim.state().StageTime[0] == 32767; }},
        {"clicks-ignored", "no pace change",
         [](Played& p) { return p.sim.state().BallInterval == 30 && p.sim.state().StageNo == 0; }},
        {"stage-02", "kicks off walls", [](Played& p) { return p.sounds("keri.wav") > 0; }},
        {"stage-03", "launches and brakes",
         [](Played& p) { return p.sounds("kabe.wav") > 0 && p.sounds("hijump.wav") > 0; }},
        {"stage-01", "a spring", [](Played& p) { return p.sounds("jump.wav") > 0; }},
        {"stage-12", "breakable blocks", [](Played& p) { return p.sounds("brake.wav") > 0; }},
        {"window-game", "a recording of the real window, closed by its window manager",
         [](Played& p) {
             return p.sim.game().ended() && p.demo.inputs.back().kind == InputKind::Close;
         }},
    };
    for (const auto& f : facts) {
        Played played(Load(f.demo));
        EXPECT_TRUE(played.result.finished) << f.demo;
        EXPECT_TRUE(f.holds(played)) << f.demo << ": " << f.what;
    }
    // Every stage cleared from its start: the game is at the next stage (or the ending).
    for (int n = 0; n <= 20; ++n) {
        Played played(Load((n < 10 ? "stage-0" : "stage-") + std::to_string(n)));
        EXPECT_TRUE(played.result.finished) << n;
        EXPECT_EQ(played.sim.state().StageNo, n + 1) << n;
        EXPECT_EQ(played.sim.state().BallsLeft, kBallsPerGame) << n;
    }
    EXPECT_GE(CorpusNames().size(), 40u);
}

// The checker's own failures: a demo tampered with is caught, with the point, stage and field.
TEST(Checker, ReportsTamperedDemos) {
    const Demo original = Load("stage-05");
    ASSERT_GE(original.inputs.size(), 4u);
    ASSERT_EQ(original.checks.size(), 2u);  // the start and the stage's exit
    // An input in play with room after it: moving it a tick later keeps the order.
    std::size_t movable = 1;
    while (original.inputs[movable + 1].point < original.inputs[movable].point + 2) ++movable;
    const struct {
        const char* what;
        std::function<void(Demo&)> change;
        std::string field;
    } cases[] = {
        {"an input moved one tick later", [&](Demo& d) { ++d.inputs[movable].point; }, ""},
        {"an input moved one tick earlier", [&](Demo& d) { --d.inputs[movable + 1].point; }, ""},
        {"the exit's picture hash changed", [](Demo& d) { d.checks[1].state.display ^= 1; },
         "display"},
        {"the exit's balls changed", [](Demo& d) { d.checks[1].state.balls = 8; }, "balls"},
        {"the start's record hash changed", [](Demo& d) { d.checks[0].state.record += 1; },
         "record"},
        {"another seed", [](Demo& d) { d.seed += 1; }, "record"},
    };
    for (const auto& c : cases) {
        Demo tampered = original;
        c.change(tampered);
        // Written and read again, as a file would be.
        const Demo reread = ParseDemo(FormatDemo(tampered), "tampered.demo");
        Played played(reread);
        ASSERT_TRUE(played.result.mismatch) << c.what;
        EXPECT_FALSE(played.result.finished) << c.what;
        if (!c.field.empty()) {
            EXPECT_EQ(played.result.mismatch->field, c.field) << c.what;
        }
    }
    // A demo cut short is not read at all.
    std::string text = FormatDemo(original);
    text.resize(text.rfind('\n', text.size() - 2) + 1);  // without its end line
    EXPECT_THROW(ParseDemo(text, "cut.demo"), DemoError);
}

// A demo finds the stage file it names only by its name and hash; when it cannot, it says which
// command plays it and never suggests a file of the same name with other stages.
TEST(Checker, DemosOfAStageFileFindItOrSayHowToPlayThem) {
    const std::string exeDir = HOPLA_BUILD_DIR "/";
    const Demo onFile = Load("first-steps-stage-00");
    ASSERT_TRUE(onFile.stages);
    Demo otherHash = onFile;
    otherHash.stages->hash = 1;
    Demo outside = onFile;
    outside.stages->name = "../stages/first-steps";
    const ChosenStages own{"own.stages", GameStages(), {"own", StagesHash(nullptr)}};
    const struct {
        const char* what;
        Demo demo;
        std::optional<ChosenStages> given;
        std::string found;  // the end of the path found, or
        std::vector<std::string> says, never;
    } cases[] = {
        {"found beside the programs",
         onFile,
         std::nullopt,
         JoinPath("stages", "first-steps.stages"),
         {},
         {}},
        {"--stages names others",
         onFile,
         own,
         "",
         {"needs the stages first-steps (hash ",
          "play it without --stages, which finds them in " +
              JoinPath(JoinPath(exeDir, "stages"), "first-steps.stages")},
         {}},
        {"same name, other stages",
         otherHash,
         std::nullopt,
         "",
         {"(hash 0000000000000001), which no first-steps.stages in ",
          "play it with --stages FILE, a stage file whose stages hash to 0000000000000001"},
         {"--stages first-steps", "--stages ./", "--stages " + exeDir}},
        {"a name that is a path",
         outside,
         std::nullopt,
         "",
         {"which no ../stages/first-steps.stages holds"},
         {" in "}},
        {"own stages played on a file",
         Load("stage-00"),
         LoadStages("first-steps", "", exeDir),
         "",
         {"was recorded on the game's own stages, not on first-steps: play it without"},
         {}},
    };
    for (const auto& c : cases) {
        const StagesForDemo chosen = ChooseStagesForDemo(c.demo, c.given, "", exeDir);
        const std::string refusal = chosen.refusal.value_or("");
        if (!c.found.empty()) {
            ASSERT_TRUE(chosen.stages) << c.what << ": " << refusal;
            EXPECT_TRUE(chosen.stages->path.ends_with(c.found)) << c.what;
            EXPECT_EQ(chosen.stages->id, c.demo.stages) << c.what;
            continue;
        }
        EXPECT_FALSE(chosen.stages) << c.what;
        for (const std::string& part : c.says)
            EXPECT_NE(refusal.find(part), std::string::npos) << c.what << ": " << refusal;
        for (const std::string& part : c.never)
            EXPECT_EQ(refusal.find(part), std::string::npos) << c.what << ": " << refusal;
    }
}

#ifndef _WIN32
// --stages: a path is used as it is; a bare name is looked up in the stage folders only, so
// that nothing in the current folder hides a shipped stage file.
TEST(StageLookup, APathIsAPathAndANameIsLookedUp) {
    const std::string exeDir = HOPLA_BUILD_DIR "/";
    const std::filesystem::path here =
        std::filesystem::temp_directory_path() / ("hopla-lookup-" + std::to_string(::getpid()));
    std::filesystem::create_directories(here / "first-steps");
    std::filesystem::copy_file(exeDir + "stages/first-steps.stages", here / "mine.stages");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(here);
    EXPECT_EQ(LoadStages("first-steps", "", exeDir).path, exeDir + "stages/first-steps.stages");
    EXPECT_EQ(LoadStages("mine.stages", "", exeDir).path, "mine.stages");
    EXPECT_EQ(LoadStages("./mine.stages", "", exeDir).path, "./mine.stages");
    try {
        LoadStages("mine", "", exeDir);
        ADD_FAILURE() << "a bare name found a file of the current folder";
    } catch (const StageFileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("no stage file mine.stages in ", 0), 0u) << e.what();
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(here);
}
#endif

}  // namespace
}  // namespace hopla
