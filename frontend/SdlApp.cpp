// The game as the runner's client: its input, its timers, demos and records, and its picture.
#include "frontend/SdlApp.h"

#include <iostream>

#include "play/Keys.h"
#include "shell/DemoLink.h"
#include "shell/RecordKeeper.h"

namespace hopla {
namespace {

// Whichever comes first; none when neither is set.
std::optional<Duration> Earliest(std::optional<Duration> a, std::optional<Duration> b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

}  // namespace

SdlApp::SdlApp(std::uint32_t seed, const std::string& exeDir, const AppOptions& options)
    : runner_("Hopla", Game::kWidth, Game::kHeight, options),
      game_(clock_, hushable_, &runner_.text(), seed, exeDir),
      overlay_(runner_.text()) {
    runner_.attach(*this);
}

void SdlApp::setDemo(DemoLink* demo) {
    demo_ = demo;
    // A demo playing ignores the player's keys: there is nothing to skip.
    if (demo_ && demo_->playing()) opening_ = false;
}

void SdlApp::feed() {
    if (demo_ && !game_.ended() && !gate_.paused()) demo_->feed();
}

std::optional<Duration> SdlApp::nextWake() const {
    std::optional<Duration> wake;
    if (const std::optional<Game::DueTimer> next = game_.nextDue()) wake = next->due;
    if (demo_) wake = Earliest(wake, demo_->wakeAt());
    return wake;
}

Frame SdlApp::frame() {
    if (!overlayChanged_) {
        // While the menu or the pause sign shows, the game is paused and its picture still.
        if (gate_.paused()) return {};
        return {&game_.picture(), game_.takeChanged(), false};
    }
    overlayChanged_ = false;
    game_.takeChanged();
    return {&shown(), {}, true};
}

void SdlApp::toGame(InputKind kind, int code) {
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
    runner_.showAll();
    return true;
}

void SdlApp::input(const Routed& input) {
    if (input.command == Command::BindKey || input.command == Command::BindButton) {
        // The key or button the Keys page asked for.
        if (const std::optional<Role> role = menu_.capturing())
            menu_.bound(runner_.bind(*role, input.command == Command::BindButton, input.code));
        menuAction({});
        return;
    }
    if (skipped(input)) return;
    if (input.command == Command::KeyDown || input.command == Command::KeyUp ||
        input.command == Command::MouseDown) {
        // While paused the game gets nothing (and later the releases it is owed); the gate
        // hears of a key before the menu acts on it and perhaps resumes play.
        const bool menu = menu_.isOpen();
        const bool passes = gate_.pass(input);
        if (menu && input.command == Command::KeyDown) menuInput(input);
        if (!passes) return;
    }
    switch (input.command) {
        case Command::KeyDown:
            toGame(InputKind::KeyDown, input.code);
            break;
        case Command::KeyUp:
            toGame(InputKind::KeyUp, input.code);
            break;
        case Command::MouseDown:
            toGame(InputKind::Mouse, input.code);
            break;
        default:
            command(input.command);
            return;
    }
    if (inputObserver_) inputObserver_(input);
}

void SdlApp::command(Command command) {
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
        case Command::Select:
            // On the final screen a controller's A is the click that leaves it.
            if (!menu_.isOpen() && game_.finalScore()) {
                toGame(InputKind::Mouse, kMouseLeft);
                if (inputObserver_) inputObserver_({Command::MouseDown, kMouseLeft});
                return;
            }
            [[fallthrough]];
        case Command::Up:
        case Command::Down:
        case Command::Left:
        case Command::Right:
        case Command::Back:
            menuInput({command});
            return;
        default:
            return;
    }
}

void SdlApp::away(bool away) {
    if (away)
        pause(PauseReason::Away);
    else
        resume(PauseReason::Away);
}

}  // namespace hopla
