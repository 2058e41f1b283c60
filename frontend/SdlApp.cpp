// The game as the runner's client: its input, its timers, demos and records, and its picture.
#include "frontend/SdlApp.h"

#include <algorithm>
#include <chrono>
#include <iostream>

#include "platform/Platform.h"
#include "play/Keys.h"
#include "shell/DemoLink.h"
#include "shell/RecordKeeper.h"

namespace hopla {
namespace {

// The ghost's replay catching up: the longest slice, how long before the game's next tick a
// slice ends, and the least time before it worth waking for. The clock is looked at after every
// handler. Making a replay ready waits for a gap this wide before the next tick, or this long.
constexpr Duration kGhostSlice = std::chrono::milliseconds(4);
constexpr Duration kGhostMargin = std::chrono::milliseconds(3);
constexpr Duration kGhostLeast = std::chrono::milliseconds(6);
constexpr Duration kGhostMakeRoom = std::chrono::milliseconds(15);
constexpr Duration kGhostLongestWait = std::chrono::seconds(1);

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
      overlay_(runner_.text()),
      raceOn_(options.settings.race),
      ghostOn_(options.settings.ghost),
      ghostStages_(options.settings.ghostStages) {
    applySpeed();
    // The browser's page fits the picture itself: there is no scaling to choose. The browser
    // keeps the records only as long as it likes: they can go to a file and back.
    if (BuildTarget() == "web") {
        menu_.leaveOut(Setting::Scaling);
        menu_.offerExport();
    }
    runner_.attach(*this);
}

void SdlApp::setRecordKeeper(RecordKeeper* keeper) {
    keeper_ = keeper;
    applySpeed();
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
    // The ghost's replay still on its way: the next slice at once, when there is room for one.
    if (ghostOn_ && ghost_ && ghost_->behind() && ghostRoom() >= kGhostLeast) wake = clock_.now();
    return wake;
}

Duration SdlApp::ghostRoom() const {
    const std::optional<Game::DueTimer> next = game_.nextDue();
    return next ? clock_.realFor(next->due - clock_.now()) : Duration::max() / 2;
}

void SdlApp::setGhost(std::unique_ptr<GhostRuns> ghost) {
    ghost_ = std::move(ghost);
    if (!ghost_) return;
    ghost_->setStageBests(ghostStages_);
    ghost_->make(0, 0);  // a new game's first stage, before the loop runs
}

void SdlApp::setRace(std::optional<GameRecord> best, SplitSink splits) {
    race_ = Race(std::move(best));
    splits_ = std::move(splits);
    raceUpdate();
}

void SdlApp::raceUpdate() {
    if (const std::optional<Split> split = race_.update(game_.stage(), game_.tally()))
        if (splits_) splits_(*split);
}

namespace {

void CopyArea(const Image& from, Image& to, const Rect& area) {
    const Rect r = area.intersect({0, 0, from.width, from.height});
    for (int y = r.top; y < r.bottom; ++y)
        std::copy_n(from.pixels.begin() + static_cast<std::ptrdiff_t>(y) * from.width + r.left,
                    r.width(),
                    to.pixels.begin() + static_cast<std::ptrdiff_t>(y) * to.width + r.left);
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

std::optional<GhostPoint> SdlApp::ghostNow() {
    const int stage = game_.stage();
    if (!ghostOn_ || !ghost_ || stage < 0 || stage >= kRecordStages) return std::nullopt;
    const int ticks = game_.tally().stageTicks[static_cast<std::size_t>(stage)];
    // The replay's work goes between the game's ticks: making a replay ready (a game of its own
    // started up) waits for a wide enough gap, at most a second; catching up (a new stage's run
    // from its session's start, a long stay in the title room) takes many handlers, in slices
    // that end before the next tick is due.
    using Steady = std::chrono::steady_clock;
    const Steady::time_point start = Steady::now();
    const Duration room = ghostRoom();
    if (!ghost_->ready(stage, ticks)) {
        if (!ghostWaitSince_) ghostWaitSince_ = start;
        if (room < kGhostMakeRoom && start - *ghostWaitSince_ < kGhostLongestWait)
            return std::nullopt;
        ghost_->make(stage, ticks);
    }
    ghostWaitSince_.reset();
    const Steady::time_point until = start + std::min(kGhostSlice, room - kGhostMargin);
    while (true) {
        const std::optional<GhostPoint> at = ghost_->at(stage, ticks, 1);
        if (!ghost_->behind() || Steady::now() >= until) return at;
    }
}

Rect SdlApp::drawGhost(const std::optional<GhostPoint>& at) {
    return at ? overlay_.ghost(raced_, at->x, at->y) : Rect{};
}

Frame SdlApp::racedFrame() {
    const Image& picture = game_.picture();
    const Rect changed = game_.takeChanged();
    std::vector<std::string> lines = raceOn_ ? race_.lines() : std::vector<std::string>{};
    const std::optional<GhostPoint> ghost = ghostNow();
    CopyArea(picture, raced_, changed);
    // The ghost where it was goes, and comes where it is now, with the game's change.
    CopyArea(picture, raced_, ghostLast_);
    Rect area = Union(changed, ghostLast_);
    Rect also;
    // The panel is drawn again when its lines changed or something was drawn under it.
    if (lines != raceLines_ || area.overlaps(racedLast_)) {
        CopyArea(picture, raced_, racedLast_);
        const Rect drawn = overlay_.race(raced_, lines);
        also = Union(racedLast_, drawn);
        racedLast_ = drawn;
        raceLines_ = std::move(lines);
    }
    ghostLast_ = drawGhost(ghost);
    area = Union(area, ghostLast_);
    return {&raced_, area, false, also};
}

Frame SdlApp::frame() {
    if (!overlayChanged_) {
        // While the menu or the pause sign shows, the game is paused and its picture still.
        if (gate_.paused()) return {};
        if (raceOn_ || ghostOn_) return racedFrame();
        return {&game_.picture(), game_.takeChanged(), false, {}};
    }
    overlayChanged_ = false;
    game_.takeChanged();
    return {&shown(), {}, true, {}};
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
    raceUpdate();
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
        case Command::Race:
            if (!menu_.isOpen()) toggleRace();
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
