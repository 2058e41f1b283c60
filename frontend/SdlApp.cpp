// The frontend's event loop: input first, then due timers, then presentation, then sleep.
#include "frontend/SdlApp.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>

#include "demo/Recorder.h"
#include "frontend/EventWait.h"
#include "frontend/Screenshot.h"
#include "platform/Platform.h"
#include "shell/DemoLink.h"
#include "shell/RecordKeeper.h"
#include "shell/SettingRows.h"

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

// The video subsystem, its windows named for the desktop: the X11 class and the Wayland
// application id match the desktop entry (StartupWMClass and its file name), unless the
// player's environment names them already.
Uint32 NamedVideo() {
    SDL_SetHint(SDL_HINT_APP_NAME, "Hopla");
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "hopla", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", HOPLA_APP_ID, 0);
    return SDL_INIT_VIDEO;
}

// The scale the window starts with: the one asked for, or the largest whose window fits the
// usable area of the first display, where the window opens. One asked for that does not fit
// is lowered to the largest that does, with a line saying so.
int StartScale(const Settings& options) {
    const std::optional<DisplayArea> usable = UsableArea(0);
    if (!usable) return options.scale.value_or(kMinScale);
    const int fits =
        LargestScale(usable->width, usable->height, Game::kWidth, Game::kHeight, kMaxScale);
    if (!options.scale) return fits;
    if (*options.scale > fits) {
        std::fprintf(stderr, "hopla: scale %d does not fit the screen (%dx%d usable); using %d\n",
                     *options.scale, usable->width, usable->height, fits);
        return fits;
    }
    return *options.scale;
}

}  // namespace

SdlApp::SdlApp(std::uint32_t seed, const std::string& exeDir, const AppOptions& options)
    : video_(NamedVideo()),
      controllers_(ControllerSubsystem()),
      screen_(video_, "Hopla", Game::kWidth, Game::kHeight, StartScale(options.settings),
              options.settings.fullscreen, options.settings.scaling),
      sound_(!options.mute, options.holdSounds ? SdlSound::Hold([this](Duration length) {
          clock_.holdFor(length);
      })
                                               : SdlSound::Hold()),
      game_(clock_, hushable_, &text_, seed, exeDir),
      settings_(options.settings),
      saved_(options.remembered),
      settingsPath_(options.settingsPath),
      overlay_(text_) {
    // Keys are taken as keys: no input method may swallow them for composing text.
    SDL_StopTextInput();
    TightenTimerSlack();
    SetWindowIcon(screen_.window());
    muted_ = options.mute;
    sound_.setVolume(muted_ ? 0 : settings_.volume);
    screen_.show();
    screen_.presentAll(game_.picture());
    // Controller directions repeat as the keyboard does for this window.
    router_.setRepeat(KeyboardRepeatOf(screen_.window()));
    router_.setKeyBindings(settings_.keys);
}

void SdlApp::setDemo(DemoLink* demo) {
    demo_ = demo;
    // A demo playing ignores the player's keys: there is nothing to skip.
    if (demo_ && demo_->playing()) opening_ = false;
}

// One round after another, sleeping in between until the next timer or controller repeat falls
// due, the controllers are to be read, or input arrives.
void SdlApp::run() {
    while (!game_.ended()) {
        const std::optional<Duration> wake = step();
        if (game_.ended()) break;
        std::optional<SteadyTime> deadline;
        if (wake) deadline = std::chrono::steady_clock::now() + (*wake - clock_.now());
        if (controllers_.ok()) {
            const SteadyTime poll =
                std::chrono::steady_clock::now() + (router_.controllers() ? kPadPoll : kPlugPoll);
            deadline = deadline ? std::min(*deadline, poll) : poll;
        }
        if (const std::optional<SDL_Event> event = WaitForEvent(deadline)) deliver(*event);
    }
}

// Every pending input event, then the due timers one at a time (input that came in meanwhile
// still goes before the next tick), then the changed part of Display to the window. Presenting
// never waits for a vertical blank, so it cannot delay a tick. While play is paused no timer
// runs and no demo input is fed: only input wakes the loop. While a held sound plays nothing
// runs and nothing is shown, as while a handler waits for its sound on the desktop.
std::optional<Duration> SdlApp::step() {
    if (!clock_.held()) {
        deliverPending();
        feedDemo();
        while (!game_.ended() && !gate_.paused() && !clock_.held() && runDueTimer()) {
            deliverPending();
            feedDemo();
        }
        // The last picture too, which stays on the page in the browser.
        if (!clock_.held() || game_.ended()) present();
        if (game_.ended()) return std::nullopt;
    }
    if (clock_.held()) return clock_.heldUntil();
    if (gate_.paused()) return std::nullopt;
    std::optional<Duration> wake = router_.nextRepeat();
    if (const std::optional<Game::DueTimer> next = game_.nextDue())
        wake = Earliest(wake, next->due);
    if (demo_) wake = Earliest(wake, demo_->wakeAt());
    return wake;
}

void SdlApp::feedDemo() {
    if (demo_ && !game_.ended() && !gate_.paused()) demo_->feed();
}

void SdlApp::present() {
    if (!overlayChanged_) {
        // While the menu or the pause sign shows, the game is paused and its picture still.
        if (!gate_.paused()) screen_.present(game_.picture(), game_.takeChanged());
        return;
    }
    overlayChanged_ = false;
    game_.takeChanged();
    screen_.presentAll(shown());
}

// The player's input: to the game, or through the demo being recorded or played.
void SdlApp::input(InputKind kind, int code) {
    if (keeper_ && !(demo_ && demo_->playing())) keeper_->note(kind, code);
    if (demo_) {
        demo_->input(kind, code);
    } else {
        Deliver(game_, kind, code);
    }
}

bool SdlApp::runDueTimer() {
    // The scheduler runs the timer it names as next, once that one is due.
    const std::optional<Game::DueTimer> next = game_.nextDue();
    const Duration started = clock_.now();
    if (!next || !game_.runDueTimer()) return false;
    if (next->name == "Timer1") opening_ = false;  // the ball moves: the opening is over
    if (tickObserver_) tickObserver_(next->name, next->due, started, clock_.now());
    if (keeper_) keeper_->check(std::cout, std::cerr);
    return true;
}

bool SdlApp::skipped(const Routed& input) {
    if (input.command == Command::KeyUp) return swallowed_.erase(input.code) > 0;
    if (input.command == Command::KeyDown && swallowed_.contains(input.code)) return true;
    // Not while the menu is open or play is paused: there the keys are the shell's.
    if (!opening_ || game_.ended() || menu_.isOpen() || gate_.paused() || !AsksToSkip(input))
        return false;
    opening_ = false;
    if (input.command == Command::KeyDown) swallowed_.insert(input.code);
    hushable_.setHushed(true);
    SkipOpening(game_, clock_, [this] { return runDueTimer(); });
    hushable_.setHushed(false);
    screen_.presentAll(shown());
    return true;
}

void SdlApp::screenshot() {
    const SavedScreenshot saved = SaveScreenshot(game_.picture(), ScreenshotsDir(), LocalNow());
    if (saved.error.empty())
        std::printf("%s\n", saved.path.c_str());
    else
        std::fprintf(stderr, "hopla: screenshot not saved: %s\n", saved.error.c_str());
    std::fflush(stdout);
}

// The controllers read, queued events, then the controller repeats that fell due: all of it
// input, so all of it before the next tick.
void SdlApp::deliverPending() {
    if (controllers_.ok()) SDL_GameControllerUpdate();
    SDL_Event event;
    while (!game_.ended() && !clock_.held() && SDL_PollEvent(&event) == 1) deliver(event);
    if (game_.ended() || gate_.paused() || !router_.nextRepeat()) return;
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
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
            if (menuPointer(event, event.type == SDL_MOUSEMOTION && pointerMoved(event.motion)))
                break;
            [[fallthrough]];
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
        if (skipped(input)) continue;
        if (input.command == Command::KeyDown || input.command == Command::KeyUp ||
            input.command == Command::MouseDown) {
            // While paused the game gets nothing (and later the releases it is owed); the
            // gate hears of a key before the menu acts on it and perhaps resumes play.
            const bool menu = menu_.isOpen();
            const bool passes = gate_.pass(input);
            if (menu && input.command == Command::KeyDown) menuInput(input);
            if (!passes) continue;
        }
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
    if (command == Command::Screenshot) {
        screenshot();
        return;
    }
    switch (command) {
        case Command::Menu:
            if (menu_.isOpen()) {
                menuAction(menu_.move(Command::Back));
            } else {
                menu_.open();
                pause(PauseReason::Menu);
            }
            return;
        case Command::Pause:
            if (menu_.isOpen()) return;
            if (gate_.pausedFor(PauseReason::Player))
                resume(PauseReason::Player);
            else
                pause(PauseReason::Player);
            return;
        case Command::Mute:
            setMuted(!muted_);
            return;
        case Command::Up:
        case Command::Down:
        case Command::Left:
        case Command::Right:
        case Command::Select:
        case Command::Back:
            menuInput({command});
            return;
        default:
            break;
    }
    if (command == Command::ToggleFullscreen) {
        step(Setting::Fullscreen, 1);
        return;
    }
    // The window's scale, one step at a time, up to the largest that fits its display.
    if (screen_.fullscreen()) return;
    const int now = screen_.windowScale();
    const int next = now + (command == Command::ScaleUp ? 1 : -1);
    const int top = std::min(kMaxScale, std::max(now, screen_.fittingScale()));
    if (next < kMinScale || next > top) return;
    pointerRebase_ = true;
    screen_.setWindowScale(next);
    settings_.scale = next;
    remember(Setting::Scale);
    screen_.presentAll(shown());
}

void SdlApp::onWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            pointerRebase_ = true;
            [[fallthrough]];
        case SDL_WINDOWEVENT_EXPOSED:
            screen_.presentAll(shown());
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
            if (settings_.pauseWhenUnfocused) pause(PauseReason::Away);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            resume(PauseReason::Away);
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
            screen_.presentAll(shown());
            break;
        default:
            break;
    }
}

void SdlApp::remember(Setting setting) {
    // Only what the player changed goes to the file: a value of the command line stays this run's.
    const SettingRow& row = RowOf(setting);
    row.read(saved_, row.write(settings_), {});
    if (settingsPath_.empty()) return;
    if (const std::optional<std::string> error = SaveSettings(settingsPath_, saved_)) {
        // Not being able to remember is no reason to stop playing; said once.
        if (!saveFailed_) std::fprintf(stderr, "hopla: settings not saved: %s\n", error->c_str());
        saveFailed_ = true;
    }
}

}  // namespace hopla
