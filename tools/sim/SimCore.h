// The headless game: the real game code on a virtual clock with a recording sound device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/Game.h"
#include "toolkit/Clock.h"
#include "toolkit/RecordingSound.h"
#include "toolkit/text/TtfText.h"

namespace hopla {

// Used by hopla-sim and by the scenario tests. Time is in milliseconds since start-up.
class SimCore {
  public:
    // exeDir is where the wave files are looked for (their lengths time waiting sounds).
    SimCore(std::uint32_t seed, const std::string& exeDir);
    SimCore(const SimCore&) = delete;
    SimCore& operator=(const SimCore&) = delete;

    // Runs every tick due up to `ms`, in due order, then leaves the clock at `ms` (or later,
    // when a waiting sound took the clock past it). Input goes straight to the game, now.
    void runUntil(double ms);
    void runFor(double ms) { runUntil(nowMs() + ms); }
    void keyDown(int code) { game_->keyDown(code); }
    void keyUp(int code) { game_->keyUp(code); }
    void mouseDown(int button) { game_->mouseDown(button); }
    // Starts stage n (0..20) as if the ball had just left the stage before it: n = 0 as if
    // it had left the title stage (a new game), n = 21 as if it had left stage 20 (the
    // ending). Whatever sequence was running stops. Throws std::out_of_range for other n.
    void startStage(int n);

    double nowMs() const;
    static double ToMs(Duration d);
    Game& game() { return *game_; }
    GameState& state() { return game_->state(); }
    Form1& form() { return game_->form(); }
    VirtualClock& clock() { return clock_; }
    RecordingSound& sound() { return sound_; }

  private:
    VirtualClock clock_;
    RecordingSound sound_{clock_};
    TtfText text_;
    std::unique_ptr<Game> game_;
};

}  // namespace hopla
