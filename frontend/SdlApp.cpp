// The frontend's event loop: input first, then due timers, then presentation, then sleep.
#include "frontend/SdlApp.h"

#include <optional>

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
        while (!game_.ended() && runDueTimer()) deliverPending();
        if (game_.ended()) break;
        screen_.present(game_.picture(), game_.takeChanged());

        std::optional<SteadyTime> deadline;
        if (const std::optional<Game::DueTimer> next = game_.nextDue())
            deadline = std::chrono::steady_clock::now() + (next->due - clock_.now());
        if (const std::optional<SDL_Event> event = WaitForEvent(deadline)) deliver(*event);
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
                game_.keyDown(*code);
            break;
        case SDL_KEYUP:
            if (const std::optional<int> code = VirtualKeyFromSdl(event.key.keysym.sym))
                game_.keyUp(*code);
            break;
        case SDL_MOUSEBUTTONDOWN:  // Display fills the window, so every press is on it
            if (const std::optional<int> button = MouseButtonFromSdl(event.button.button))
                game_.mouseDown(*button);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                screen_.presentAll(game_.picture());
            break;
        case SDL_QUIT:  // the window manager's close request ends the game at once
            game_.requestEnd();
            break;
        default:
            break;
    }
}

}  // namespace hopla
