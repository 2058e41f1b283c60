// The window's event table: which handler each event and timer tick runs.
#include "app/Game.h"

#include "app/StartUp.h"
#include "play/BallTick.h"
#include "play/Flight.h"
#include "play/Input.h"
#include "sequences/Banner.h"
#include "sequences/Ending.h"
#include "sequences/Introduction.h"
#include "sequences/Title.h"
#include "stage/StageLoad.h"

namespace hopla {

Game::Game(const Clock& clock, SoundDevice& sound, const TextRenderer* text, std::uint32_t seed,
           const std::string& exeDir)
    : form_(clock, sound, text) {
    Form_Load(form_, state_, seed, exeDir);
    form_.Display.repaintLabels();
}

template <typename Handler>
void Game::run(std::string_view name, Handler&& handler) {
    if (ended()) return;
    handler();
    form_.Display.repaintLabels();
    if (afterHandler) afterHandler(name);
}

void Game::keyDown(int keyCode) {
    run("KeyDown", [&] { Form_KeyDown(form_, state_, keyCode, 0); });
}

void Game::keyUp(int keyCode) {
    run("KeyUp", [&] { Form_KeyUp(form_, state_, keyCode, 0); });
}

void Game::mouseDown(int button) {
    run("MouseDown", [&] { Display_MouseDown(form_, state_, button, 0, 0, 0); });
}

bool Game::runDueTimer() {
    if (ended()) return false;
    Timer* timer = form_.Timers.takeDue();
    if (!timer) return false;
    using TickHandler = void (*)(Form1&, GameState&);
    TickHandler handler = timer == &form_.Timer1   ? Timer1_Timer
                          : timer == &form_.Timer2 ? Timer2_Timer
                          : timer == &form_.Timer3 ? Timer3_Timer
                          : timer == &form_.Timer4 ? Timer4_Timer
                          : timer == &form_.Timer5 ? Timer5_Timer
                          : timer == &form_.Timer6 ? Timer6_Timer
                                                   : Etimer_Timer;
    run(timer->name(), [&] { handler(form_, state_); });
    return true;
}

std::optional<Duration> Game::nextDue() const {
    if (ended()) return std::nullopt;
    const Timer* timer = form_.Timers.nextDue();
    if (!timer) return std::nullopt;
    return timer->due();
}

}  // namespace hopla
