// The headless game: the real game code on a virtual clock with a recording sound device.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "app/GameTesting.h"
#include "headless/RecordingSound.h"
#include "headless/VirtualClock.h"
#include "toolkit/text/TtfText.h"

namespace hopla {

// Drives hopla-sim, the scenario tests and the benchmarks. Time is in milliseconds since
// start-up. The game is reached through its seam; the record and the window's elements only
// through the testing interface.
class SimCore {
  public:
    // exeDir is where the game's wave files lie; `waveLength` tells how long each plays, which
    // a waiting sound takes of the virtual clock (the runners pass shell's WaveFileLength).
    SimCore(std::uint32_t seed, const std::string& exeDir, RecordingSound::WaveLength waveLength);
    SimCore(const SimCore&) = delete;
    SimCore& operator=(const SimCore&) = delete;

    // Runs every tick due up to `ms`, in due order, then leaves the clock at `ms` (or later,
    // when a waiting sound took the clock past it). Input goes straight to the game, now.
    void runUntil(double ms);
    void runFor(double ms) { runUntil(nowMs() + ms); }
    // One handler: the clock moved to the timer due next, however far off, and that timer run.
    // Its name ("Timer1".."Timer6", "Etimer"); none, and nothing run, when every timer is stopped
    // or the game has ended. The single step of the solver and of the tests that step by hand.
    std::optional<std::string_view> runNextTimer();
    void keyDown(int code) { game_->keyDown(code); }
    void keyUp(int code) { game_->keyUp(code); }
    void mouseDown(int button) { game_->mouseDown(button); }
    // See Game::startStage.
    void startStage(int n) { game_->startStage(n); }

    // The whole headless game between two handlers: the game's snapshot and the virtual clock
    // (the sound device keeps nothing but the lengths of the files it read). Used by the solver
    // to try key presses and go back, and by tests.
    struct Snapshot {
        Game::Snapshot game;
        Duration now{0};
    };
    Snapshot save() const { return {game_->save(), clock_.now()}; }
    void restore(const Snapshot& snapshot) {
        game_->restore(snapshot.game);
        clock_.restore(snapshot.now);
    }

    double nowMs() const;
    static double ToMs(Duration d);
    Game& game() { return *game_; }
    GameState& state() { return testing_.state(); }
    Form1& form() { return testing_.form(); }
    VirtualClock& clock() { return clock_; }
    RecordingSound& sound() { return sound_; }

  private:
    VirtualClock clock_;
    RecordingSound sound_;
    TtfText text_;
    std::unique_ptr<Game> game_;
    GameTesting testing_;
};

}  // namespace hopla
