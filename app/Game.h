// The seam between the game and whatever runs it: input in, timers due, the picture out.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "form/Form1.h"
#include "form/GameState.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"

namespace hopla {

// Owns the window's elements and the state record; runs start-up on construction. A runner
// (the SDL frontend, the headless runner) delivers pending input first, then due timers one at
// a time, then shows what changed of the picture. Every entry point runs one handler to its
// end, repaints the labels it changed, and tells the observer. Once the application has ended
// nothing runs any more. This is all a runner may use; tests and hopla-sim reach further only
// through GameTesting.
class Game {
  public:
    Game(const Clock& clock, SoundDevice& sound, const TextRenderer* text, std::uint32_t seed,
         const std::string& exeDir);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Input, as Windows virtual-key codes (0..255) and mouse buttons (1 left, 2 right,
    // 4 middle) pressed on the picture.
    void keyDown(int keyCode);
    void keyUp(int keyCode);
    void mouseDown(int button);

    // The timer that ticks next and when, by the clock given at construction; none when every
    // timer is stopped or the game has ended.
    struct DueTimer {
        std::string_view name;  // "Timer1".."Timer6", "Etimer"
        Duration due;
    };
    std::optional<DueTimer> nextDue() const;
    // Runs the handler of the earliest timer due by the clock's now; false when none is due.
    bool runDueTimer();

    // The window's picture, labels included, 800 x 600.
    const Image& picture() const { return form_.Display.image(); }
    // The bounding box of the picture's pixels changed since the last call.
    Rect takeChanged() { return form_.Display.takeChanged(); }

    bool ended() const { return form_.ended(); }
    // The window's close request: the game ends at once, as by its own "end at once".
    void requestEnd() { form_.End(); }

    // Told after every handler with its name: "Timer1".."Timer6", "Etimer", "KeyDown",
    // "KeyUp", "MouseDown".
    std::function<void(std::string_view handler)> afterHandler;

  private:
    friend class GameTesting;
    template <typename Handler>
    void run(std::string_view name, Handler&& handler);

    Form1 form_;
    GameState state_;
};

}  // namespace hopla
