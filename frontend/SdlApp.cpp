// The frontend's event loop: input first, then due timers, then presentation, then sleep.
#include "frontend/SdlApp.h"

#include <optional>

#include "demo/Recorder.h"
#include "frontend/DemoLink.h"
#include "frontend/EventWait.h"
#include "frontend/KeyCodes.h"

namespace hopla {

SdlApp::SdlApp(std::uint32_t seed, const std::string& exeDir)
    : video_(SDL_INIT_VIDEO),
      screen_(video_, "Form1", kScreenWidth, kScreenHeight),
      game_(clock_, sound_, &text_, seed, exeDir) {
    // Keys are taken as keys: no input method may swallow them for composing text.
    SDL_StopTextInput();
    TightenTimerSlack();
    screen_.show();
    screen_.presentAll(game_.picture());
}

// One round: every pending input event, then the due timers one at a time (input that came in
// meanwhile still goes before the next tick), then the changed part of Display to the window,
// then sleep until the next timer falls due or input arrives. Presenting never waits for a
// vertical blank, so it cannot delay a tick.
void SdlApp::run() {
    while (!game_.ended()) {
        deliverPending();
        feedDemo();
        while (!game_.ended() && runDueTimer()) {
            deliverPending();
            feedDemo();
        }
        if (game_.ended()) break;
        screen_.present(game_.picture(), game_.takeChanged());

        std::optional<Duration> wake;
        if (const std::optional<Game::DueTimer> next = game_.nextDue()) wake = next->due;
        if (demo_)
            if (const std::optional<Duration> at = demo_->wakeAt()) wake = at;
        std::optional<SteadyTime> deadline;
        if (wake) deadline = std::chrono::steady_clock::now() + (*wake - clock_.now());
        if (const std::optional<SDL_Event> event = WaitForEvent(deadline)) deliver(*event);
    }
}

void SdlApp::feedDemo() {
    if (demo_ && !game_.ended()) demo_->feed();
}

void SdlApp::input(InputKind kind, int code) {
    if (demo_) {
        demo_->input(kind, code);
    } else {
        Deliver(game_, kind, code);
    }
}

bool SdlApp::runDueTimer() {
    if (!tickObserver_) return game_.runDueTimer();
    // The scheduler runs the timer it names as next, once that one is due.
    const std::optional<Game::DueTimer> next = game_.nextDue();
    const Duration started = clock_.now();
    if (!next || !game_.runDueTimer()) return false;
    tickObserver_(next->name, next->due, started, clock_.now());
    return true;
}

void SdlApp::deliverPending() {
    SDL_Event event;
    while (!game_.ended() && SDL_PollEvent(&event) == 1) deliver(event);
}

void SdlApp::deliver(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:  // auto-repeats included, as the system sends them
            if (const std::optional<int> code = VirtualKeyFromSdl(event.key.keysym.sym))
                input(InputKind::KeyDown, *code);
            break;
        case SDL_KEYUP:
            if (const std::optional<int> code = VirtualKeyFromSdl(event.key.keysym.sym))
                input(InputKind::KeyUp, *code);
            break;
        case SDL_MOUSEBUTTONDOWN:  // Display fills the window, so every press is on it
            if (const std::optional<int> button = MouseButtonFromSdl(event.button.button))
                input(InputKind::Mouse, *button);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                screen_.presentAll(game_.picture());
            break;
        case SDL_QUIT:  // the window manager's close request ends the game at once
            input(InputKind::Close, 0);
            break;
        default:
            break;
    }
}

}  // namespace hopla
