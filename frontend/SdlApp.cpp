// The frontend's event loop: input first, then due timers, then presentation, then sleep.
#include "frontend/SdlApp.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "demo/Recorder.h"
#include "frontend/DemoLink.h"
#include "frontend/EventWait.h"
#include "frontend/Options.h"
#include "platform/Platform.h"

namespace hopla {
namespace {

// Controllers are read by the loop itself, this often while one is plugged in (a press reaches
// the game within this, well inside a ball tick), and this often otherwise to notice one being
// plugged in. SDL on its own would read them every millisecond while one is plugged in.
constexpr Duration kPadPoll = std::chrono::milliseconds(8);
constexpr Duration kPlugPoll = std::chrono::milliseconds(250);

// The game-controller subsystem, its controllers read by the loop rather than by SDL itself.
Uint32 ControllerSubsystem() {
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    return SDL_INIT_GAMECONTROLLER;
}

// Whichever comes first; none when neither is set.
std::optional<Duration> Earliest(std::optional<Duration> a, std::optional<Duration> b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

// The scale the window starts with: the one asked for, or the largest whose window fits the
// usable area of the first display, where the window opens.
int StartScale(const AppOptions& options) {
    if (options.scale) return *options.scale;
    const std::optional<DisplayArea> usable = UsableArea(0);
    if (!usable) return kMinScale;
    return LargestScale(usable->width, usable->height, Game::kWidth, Game::kHeight, kMaxScale);
}

}  // namespace

SdlApp::SdlApp(std::uint32_t seed, const std::string& exeDir, const AppOptions& options)
    : video_(SDL_INIT_VIDEO),
      controllers_(ControllerSubsystem()),
      screen_(video_, "Form1", Game::kWidth, Game::kHeight, StartScale(options),
              options.fullscreen),
      sound_(!options.mute, options.holdSounds ? SdlSound::Hold([this](Duration length) {
          clock_.holdFor(length);
      })
                                               : SdlSound::Hold()),
      game_(clock_, sound_, &text_, seed, exeDir),
      settings_{options.scale, options.fullscreen},
      settingsPath_(options.settingsPath) {
    // Keys are taken as keys: no input method may swallow them for composing text.
    SDL_StopTextInput();
    TightenTimerSlack();
    screen_.show();
    screen_.presentAll(game_.picture());
    // Controller directions repeat as the keyboard does for this window.
    router_.setRepeat(KeyboardRepeatOf(screen_.window()));
}

// One round after another, sleeping in between until the next timer or controller repeat falls
// due or input arrives.
void SdlApp::run() {
    while (!game_.ended()) {
        const std::optional<Duration> wake = step();
        if (game_.ended()) break;
        std::optional<SteadyTime> deadline;
        if (wake) deadline = std::chrono::steady_clock::now() + (*wake - clock_.now());
        if (const std::optional<SDL_Event> event = WaitForEvent(deadline)) deliver(*event);
    }
}

// Every pending input event, then the due timers one at a time (input that came in meanwhile
// still goes before the next tick), then the changed part of Display to the window. Presenting
// never waits for a vertical blank, so it cannot delay a tick. While a held sound plays nothing
// runs and nothing is shown, as while a handler waits for its sound on the desktop.
std::optional<Duration> SdlApp::step() {
    if (!clock_.held()) {
        deliverPending();
        feedDemo();
        while (!game_.ended() && !clock_.held() && runDueTimer()) {
            deliverPending();
            feedDemo();
        }
        if (game_.ended()) return std::nullopt;
        if (!clock_.held()) screen_.present(game_.picture(), game_.takeChanged());
    }
    if (clock_.held()) return clock_.heldUntil();

    std::optional<Duration> wake = router_.nextRepeat();
    if (const std::optional<Game::DueTimer> next = game_.nextDue())
        wake = Earliest(wake, next->due);
    if (controllers_.ok())
        wake = Earliest(wake, clock_.now() + (router_.controllers() ? kPadPoll : kPlugPoll));
    if (demo_) wake = Earliest(wake, demo_->wakeAt());
    return wake;
}

void SdlApp::feedDemo() {
    if (demo_ && !game_.ended()) demo_->feed();
}

// The player's input: to the game, or through the demo being recorded or played.
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

// The controllers read, queued events, then the controller repeats that fell due: all of it
// input, so all of it before the next tick.
void SdlApp::deliverPending() {
    if (controllers_.ok()) SDL_GameControllerUpdate();
    SDL_Event event;
    while (!game_.ended() && !clock_.held() && SDL_PollEvent(&event) == 1) deliver(event);
    if (game_.ended() || !router_.nextRepeat()) return;
    routed_.clear();
    router_.repeatDue(clock_.now(), routed_);
    apply(routed_);
}

void SdlApp::deliver(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            onWindowEvent(event.window);
            break;
        case SDL_QUIT:  // the window manager's close request ends the game at once
            input(InputKind::Close, 0);
            break;
        default:
            routed_.clear();
            router_.route(event, clock_.now(), screen_.layout(), Game::kWidth, Game::kHeight,
                          routed_);
            apply(routed_);
            break;
    }
}

void SdlApp::apply(const std::vector<Routed>& routed) {
    for (const Routed& input : routed) {
        if (game_.ended()) return;
        switch (input.command) {
            case Command::KeyDown:
                this->input(InputKind::KeyDown, input.code);
                break;
            case Command::KeyUp:
                this->input(InputKind::KeyUp, input.code);
                break;
            case Command::MouseDown:
                this->input(InputKind::Mouse, input.code);
                break;
            default:
                command(input.command);
                continue;
        }
        if (inputObserver_) inputObserver_(input);
    }
}

void SdlApp::command(Command command) {
    if (command == Command::ToggleFullscreen) {
        screen_.setFullscreen(!screen_.fullscreen());
        settings_.fullscreen = screen_.fullscreen();
    } else {
        // The window's scale, one step at a time, up to the largest that fits its display.
        if (screen_.fullscreen()) return;
        const int now = screen_.windowScale();
        const int next = now + (command == Command::ScaleUp ? 1 : -1);
        const int top = std::min(kMaxScale, std::max(now, screen_.fittingScale()));
        if (next < kMinScale || next > top) return;
        screen_.setWindowScale(next);
        settings_.scale = next;
    }
    remember();
    screen_.presentAll(game_.picture());
}

void SdlApp::onWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            screen_.presentAll(game_.picture());
            break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            // Moved to another display: centred there, at the largest scale that fits it unless
            // a scale was chosen.
            if (!screen_.fullscreen()) {
                if (!settings_.scale)
                    screen_.setWindowScale(screen_.fittingScale(event.data1));
                else
                    screen_.centre();
            }
            screen_.presentAll(game_.picture());
            break;
        default:
            break;
    }
}

void SdlApp::remember() {
    if (settingsPath_.empty()) return;
    if (const std::optional<std::string> error = SaveSettings(settingsPath_, settings_)) {
        // Not being able to remember is no reason to stop playing; said once.
        if (!saveFailed_) std::fprintf(stderr, "hopla: settings not saved: %s\n", error->c_str());
        saveFailed_ = true;
    }
}

}  // namespace hopla
