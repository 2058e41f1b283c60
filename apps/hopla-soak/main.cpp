// hopla-soak: hours of seeded random play on the virtual clock, checking the record after every
// handler.
#include <sys/resource.h>

#include <bitset>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "app/Keys.h"
#include "headless/SimCore.h"
#include "platform/Platform.h"
#include "shell/GameFiles.h"
#include "toolkit/Numbers.h"
#include "toolkit/Output.h"
#include "tools/sim/StateFields.h"

namespace {

constexpr std::string_view kUsage =
    "usage: hopla-soak [--seed N] [--hours H]\n"
    "       hopla-soak --help | --version\n"
    "Plays H virtual hours (default 100) of random keys, mouse presses and waits over every\n"
    "stage, a new game whenever one ends, and checks after every handler that each variable of\n"
    "the record is within the values the game gives it and no timer runs backwards. The same\n"
    "seed plays the same hours again. Exit status: 0 all well, 1 a check failed, 2 bad usage.\n";

constexpr double kHourMs = 3'600'000;

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One run: games one after another until the hours are played or a check fails.
class Soak {
  public:
    Soak(std::uint64_t seed, double hours) : random_(seed), endMs_(hours * kHourMs) {}

    // Empty when all went well, else what failed.
    std::string run() {
        while (failure_.empty() && playedMs_ < endMs_) {
            startGame();
            while (failure_.empty() && !sim_->game().ended() && playedMs_ + sim_->nowMs() < endMs_)
                step();
            playedMs_ += sim_->nowMs();
        }
        return failure_;
    }

    int games() const { return games_; }
    int stageStarts() const { return stageStarts_; }
    int endings() const { return endings_; }
    std::size_t stagesSeen() const { return stagesSeen_.count(); }
    double playedHours() const { return playedMs_ / kHourMs; }

  private:
    void startGame() {
        observation_.reset();
        sim_.reset();  // the old game's sound hook goes with it
        sim_ = std::make_unique<hopla::SimCore>(static_cast<std::uint32_t>(random_()),
                                                hopla::ExecutableDir(), hopla::WaveFileLength);
        observation_ = sim_->game().observe([this](std::string_view name) { check(name); });
        ++games_;
    }

    double uniform() { return std::uniform_real_distribution<double>(0, 1)(random_); }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // One input, mostly the arrows a player uses, then a wait.
    void step() {
        const double r = uniform();
        try {
            if (r < 0.40) {
                // Towards the exits on the right a little more often than back.
                sim_->keyDown(uniform() < 0.6 ? hopla::kVkRight : hopla::kVkLeft);
            } else if (r < 0.60) {
                sim_->keyUp(uniform() < 0.8 ? hopla::kVkRight : below(hopla::kLastKeyCode + 1));
            } else if (r < 0.62) {
                sim_->keyDown(hopla::kVkSpace);
            } else if (r < 0.66) {
                sim_->keyDown(below(hopla::kLastKeyCode + 1));
            } else if (r < 0.68) {
                sim_->mouseDown(uniform() < 0.5 ? hopla::kMouseLeft : hopla::kMouseRight);
            } else if (r < 0.69) {
                // A player reaches a stage from a new game with its nine balls, so the jump
                // starts one first; a jump straight from a game over would carry no balls in.
                const int stage = below(22);  // 21: the ending
                sim_->startStage(0);
                if (stage != 0) sim_->startStage(stage);
                ++stageStarts_;
                if (stage == 21) ++endings_;
            }
            sim_->runFor(r < 0.95 ? uniform() * 300 : uniform() * 5000);
        } catch (const std::exception& e) {
            fail("a handler threw: " + std::string(e.what()));
        }
    }

    void check(std::string_view handler) {
        if (!failure_.empty()) return;
        const hopla::GameState& s = sim_->state();
        for (const hopla::StateField& field : hopla::StateFields()) {
            const std::string wrong = field.check(s);
            if (!wrong.empty()) return fail("after " + std::string(handler) + ": " + wrong);
        }
        stagesSeen_.set(static_cast<std::size_t>(s.StageNo));
        hopla::Form1& f = sim_->form();
        for (hopla::Timer hopla::Form1::*timer : hopla::Form1::kTimers) {
            const hopla::Timer* t = &(f.*timer);
            if (t->interval() < 0)
                return fail("after " + std::string(handler) + ": " + std::string(t->name()) +
                            " has interval " + std::to_string(t->interval()));
        }
    }

    void fail(const std::string& what) {
        char at[128];
        std::snprintf(at, sizeof at, "game %d at %.0f ms (%.3f h into the run), stage %d: ", games_,
                      sim_->nowMs(), (playedMs_ + sim_->nowMs()) / kHourMs, sim_->state().StageNo);
        failure_ = at + what;
    }

    std::mt19937_64 random_;
    double endMs_;
    double playedMs_ = 0;  // virtual time of the games before the current one
    std::unique_ptr<hopla::SimCore> sim_;
    hopla::ObserverHandle observation_;  // of sim_'s game: declared after it, so it goes first
    std::string failure_;
    int games_ = 0;
    int stageStarts_ = 0;
    int endings_ = 0;
    std::bitset<22> stagesSeen_;  // StageNo values met after a handler
};

}  // namespace

int main(int argc, char** argv) {
    hopla::KeepStandardStreamsApart();
    std::optional<std::uint64_t> seed;
    double hours = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool valued = i + 1 < argc;
        if (arg == "--seed" && valued && (seed = hopla::ParseNumber<std::uint64_t>(argv[i + 1]))) {
            ++i;
        } else if (arg == "--hours" && valued && hopla::ParseNumber<double>(argv[i + 1]) &&
                   *hopla::ParseNumber<double>(argv[i + 1]) > 0) {
            hours = *hopla::ParseNumber<double>(argv[i + 1]);
            ++i;
        } else if (arg == "--version") {
            std::printf("hopla-soak %s\n", HOPLA_VERSION);
            return hopla::CheckedOutput("hopla-soak", 0);
        } else {
            std::fputs(kUsage.data(), arg == "--help" ? stdout : stderr);
            return arg == "--help" ? hopla::CheckedOutput("hopla-soak", 0) : 2;
        }
    }
    if (!seed) seed = std::random_device{}();
    // First, so that a sanitizer stopping the run leaves the seed to replay it with.
    std::printf("hopla-soak: seed %llu, %g virtual hours\n", static_cast<unsigned long long>(*seed),
                hours);
    // Where even that line cannot go, the hours of play would be lost: stop now.
    if (hopla::CheckedOutput("hopla-soak", 0) != 0) return 1;

    const auto start = std::chrono::steady_clock::now();
    Soak soak(*seed, hours);
    const std::string failure = soak.run();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!failure.empty()) {
        std::printf("hopla-soak: FAILED with seed %llu: %s\n",
                    static_cast<unsigned long long>(*seed), failure.c_str());
        return 1;
    }
    std::printf(
        "hopla-soak: %.1f virtual hours in %.0f s: %d games, %zu of 22 stages seen, %d stage "
        "jumps (%d to the ending), peak memory %ld kB\n",
        soak.playedHours(), wall, soak.games(), soak.stagesSeen(), soak.stageStarts(),
        soak.endings(), PeakResidentKb());
    return hopla::CheckedOutput("hopla-soak", 0);
}
