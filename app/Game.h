// The seam between the game and whatever runs it: events in, timers due, the picture out.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/Form1.h"
#include "app/GameState.h"

namespace hopla {

// Owns the window's elements and the state record; runs start-up on construction. The runner
// (SDL frontend or hopla-sim) delivers pending input first, then due timers one at a time.
// Every entry point runs one handler to its end, repaints the labels it changed, and reports
// the handler's name to afterHandler. Once the application has ended nothing runs any more.
class Game {
  public:
    Game(const Clock& clock, SoundDevice& sound, const TextRenderer* text, std::uint32_t seed,
         const std::string& exeDir);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void keyDown(int keyCode);
    void keyUp(int keyCode);
    void mouseDown(int button);
    // Runs the handler of the earliest timer due by the clock's now; false when none is due.
    bool runDueTimer();
    // When the next timer is due, if any runs.
    std::optional<Duration> nextDue() const;

    bool ended() const { return form_.ended(); }
    Form1& form() { return form_; }
    GameState& state() { return state_; }
    const Picture& screen() const { return form_.Display; }

    // Called after every handler with its name: "Timer1".."Timer6", "Etimer", "KeyDown",
    // "KeyUp", "MouseDown".
    std::function<void(std::string_view)> afterHandler;

  private:
    template <typename Handler>
    void run(std::string_view name, Handler&& handler);

    Form1 form_;
    GameState state_;
};

}  // namespace hopla
