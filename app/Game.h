// The seam between the game and whatever runs it: input in, timers due, the picture out.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/StateCheck.h"
#include "form/Form1.h"
#include "form/GameState.h"
#include "toolkit/Image.h"
#include "toolkit/Rect.h"

namespace hopla {

struct StageFile;

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

    // Puts a stage file's stages into the table in place of the game's own (see ApplyStages).
    // Called by a runner given --stages right after construction, before the first handler.
    void applyStages(const StageFile& file);

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

    // How many handlers have run since start-up (start-up itself is not one): the point in the
    // run at which a demo delivers each input, the same whatever the wall clock did.
    std::uint64_t handlersRun() const { return handlersRun_; }
    // StageNo: 0..20 in a game, 21 the title room and the ending. Demo recorders watch it for
    // stage changes.
    int stage() const { return state_.StageNo; }
    // The state as a demo's check line holds it (see StateCheck).
    StateCheck check() const;

    // Starts stage n (0..20) where a real game would be on entering it, as if the ball had just
    // left the stage before it; n = 21 as if it had left stage 20 (the ending). Coming from the
    // title room or the ending, or from a lost game, it is a new game (9 balls, the stage times
    // cleared); during a game the balls stay. Whatever sequence was running stops. Called
    // between handlers: by demo players and recorders right after start-up, for a demo of one
    // stage, and by GameTesting. Throws std::out_of_range for other n.
    void startStage(int n);

    // The whole game as a value between two handlers: the record, every element of the window
    // (pictures, labels, timers) and the handler count. The clock and the sound device belong
    // to the runner, which saves its clock beside it (SimCore). A snapshot goes back only into
    // the game that took it (std::invalid_argument otherwise); saving again shares the pixels
    // of the rows nothing drew since, so a solver can keep many.
    struct Snapshot {
        Form1::State form;
        GameState state;
        std::uint64_t handlersRun = 0;
    };
    Snapshot save() const;
    void restore(const Snapshot& snapshot);

    // Told after every handler with its name: "Timer1".."Timer6", "Etimer", "KeyDown",
    // "KeyUp", "MouseDown".
    std::function<void(std::string_view handler)> afterHandler;

  private:
    friend class GameTesting;
    template <typename Handler>
    void run(std::string_view name, Handler&& handler);

    Form1 form_;
    GameState state_;
    std::uint64_t handlersRun_ = 0;
};

}  // namespace hopla
