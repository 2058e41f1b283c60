// The running game on SDL: window, sound, clock and the event loop around hopla::Game.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "demo/Demo.h"
#include "frontend/RealClock.h"
#include "frontend/Screen.h"
#include "frontend/SdlHandles.h"
#include "frontend/SdlSound.h"
#include "toolkit/text/TtfText.h"

namespace hopla {

class DemoLink;

// Construction runs the game's start-up and opens the window; run() returns when the game has
// ended or the window was asked to close. Destruction closes the window and the audio device.
class SdlApp {
  public:
    // Throws std::runtime_error when there is no display to open the window on.
    SdlApp(std::uint32_t seed, const std::string& exeDir);
    SdlApp(const SdlApp&) = delete;
    SdlApp& operator=(const SdlApp&) = delete;

    void run();

    // For probes of the loop: the game, to script it between handlers (through its afterHandler),
    // and an observer told after each timer tick which timer it was, when it was due and when
    // its handler started and returned, on the game's clock.
    using TickObserver = std::function<void(std::string_view timer, Duration due, Duration started,
                                            Duration returned)>;
    Game& game() { return game_; }
    void setTickObserver(TickObserver observer) { tickObserver_ = std::move(observer); }

    // A demo being recorded or played (--record, --play): the player's input goes through it
    // and the loop feeds the game its inputs. Set before run(); it must outlive run().
    const Clock& clock() const { return clock_; }
    void setDemo(DemoLink* demo) { demo_ = demo; }

  private:
    bool runDueTimer();
    void deliverPending();
    void deliver(const SDL_Event& event);
    void input(InputKind kind, int code);
    void feedDemo();

    SdlSubsystem video_;
    Screen screen_;
    SdlSound sound_;
    TtfText text_;
    RealClock clock_;  // started just before the game, so start-up happens at time 0
    Game game_;
    TickObserver tickObserver_;
    DemoLink* demo_ = nullptr;
};

}  // namespace hopla
