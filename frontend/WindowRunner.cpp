// The runner's loop: input first, then due timers, then presentation, then sleep; and the
// window's own keys, events and settings.
#include "frontend/WindowRunner.h"

#include <algorithm>
#include <cstdio>

#include "frontend/EventWait.h"
#include "frontend/Icon.h"
#include "frontend/KeyCodes.h"
#include "frontend/Screenshot.h"
#include "platform/Platform.h"
#include "play/Keys.h"

namespace hopla {
namespace {

// Controllers are read by the loop itself, this often while one is plugged in (a press reaches
// the game within this, well inside a ball tick), and this often otherwise to notice one being
// plugged in. SDL on its own would read them every millisecond while one is plugged in.
constexpr Duration kPadPoll = std::chrono::milliseconds(8);
constexpr Duration kPlugPoll = std::chrono::milliseconds(250);

// The largest screen counted as a handheld's.
constexpr int kHandheldWidth = 1280;
constexpr int kHandheldHeight = 800;

// The game-controller subsystem, its controllers read by the loop rather than by SDL itself.
// Buttons by place: SDL's A is the bottom face button on every controller (a Nintendo one's B),
// whose name the shell shows for it (shell/ButtonNames.h), rather than the one printed A.
Uint32 ControllerSubsystem() {
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
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
int StartScale(const Settings& options, int width, int height) {
    const std::optional<DisplayArea> usable = UsableArea(0);
    if (!usable) return options.scale.value_or(kMinScale);
    const int fits = LargestScale(usable->width, usable->height, width, height, kMaxScale);
    if (!options.scale) return fits;
    if (*options.scale > fits) {
        std::fprintf(stderr, "hopla: scale %d does not fit the screen (%dx%d usable); using %d\n",
                     *options.scale, usable->width, usable->height, fits);
        return fits;
    }
    return *options.scale;
}

// On the whole screen when asked, or, when nothing says, on a screen of a handheld's size or
// smaller, where a window would be small and its text hard to read.
bool StartFullscreen(const AppOptions& options) {
    if (options.settings.fullscreen || options.fullscreenChosen) return options.settings.fullscreen;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(0, &bounds) != 0) return false;
    return bounds.w <= kHandheldWidth && bounds.h <= kHandheldHeight;
}

void SetWindowIcon(SDL_Window* window) {
    std::optional<IconPixels> icon = WindowIcon();
    if (!icon) return;  // the window keeps the desktop's default icon
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(icon->argb.data(), icon->width, icon->height, 32,
                                           icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);  // SDL keeps a copy
    SDL_FreeSurface(surface);
}

// The held buttons of a motion, as the game's mouse buttons.
int HeldButtons(Uint32 state) {
    return ((state & SDL_BUTTON_LMASK) ? kMouseLeft : 0) |
           ((state & SDL_BUTTON_RMASK) ? kMouseRight : 0) |
           ((state & SDL_BUTTON_MMASK) ? kMouseMiddle : 0);
}

}  // namespace

WindowRunner::WindowRunner(const std::string& title, int width, int height,
                           const AppOptions& options)
    : video_(NamedVideo()),
      controllers_(ControllerSubsystem()),
      screen_(video_, title, width, height, StartScale(options.settings, width, height),
              StartFullscreen(options), options.settings.scaling),
      sound_(!options.mute, options.holdSounds ? SdlSound::Hold([this](Duration length) {
          if (client_) client_->clock().holdFor(length);
      })
                                               : SdlSound::Hold()),
      settings_(options.settings),
      saved_(options.remembered),
      settingsPath_(options.settingsPath),
      muted_(options.mute) {
    // Keys are taken as keys: no input method may swallow them for composing text.
    SDL_StopTextInput();
    TightenTimerSlack();
    SetWindowIcon(screen_.window());
    sound_.setVolume(muted_ ? 0 : settings_.volume);
    // Started on the whole screen for a small one: kept so once the settings are written.
    if (screen_.fullscreen() && !settings_.fullscreen)
        settings_.fullscreen = saved_.fullscreen = true;
    // Controller directions repeat as the keyboard does for this window.
    router_.setRepeat(KeyboardRepeatOf(screen_.window()));
    router_.setKeyBindings(settings_.keys);
}

void WindowRunner::attach(WindowClient& client) {
    client_ = &client;
    screen_.show();
    screen_.presentAll(client.shown());
}

// One round after another, sleeping in between until the next timer or controller repeat falls
// due, the controllers are to be read, or input arrives.
void WindowRunner::run() {
    while (!client_->ended()) {
        if (noting() && std::chrono::steady_clock::now() >= noteUntil_) {
            note_.clear();
            showAll();
        }
        const std::optional<Duration> wake = step();
        if (client_->ended()) break;
        std::optional<SteadyTime> deadline;
        if (wake)
            deadline = std::chrono::steady_clock::now() +
                       client_->clock().realFor(*wake - client_->clock().now());
        if (noting()) deadline = deadline ? std::min(*deadline, noteUntil_) : noteUntil_;
        if (controllers_.ok()) {
            const SteadyTime poll =
                std::chrono::steady_clock::now() + (router_.controllers() ? kPadPoll : kPlugPoll);
            deadline = deadline ? std::min(*deadline, poll) : poll;
        }
        if (const std::optional<SDL_Event> event = WaitForEvent(deadline)) deliver(*event);
    }
}

// Every pending input event, then the due timers one at a time (input that came in meanwhile
// still goes before the next tick), then the changed part of the picture to the window.
// Presenting never waits for a vertical blank, so it cannot delay a tick. While the client is
// paused no timer runs: only input wakes the loop. While a held sound plays nothing runs and
// nothing is shown, as while a handler waits for its sound on the desktop.
std::optional<Duration> WindowRunner::step() {
    WindowClient& client = *client_;
    RealClock& clock = client.clock();
    if (!clock.held()) {
        deliverPending();
        client.feed();
        while (!client.ended() && !client.paused() && !clock.held() && client.runDueTimer()) {
            deliverPending();
            client.feed();
        }
        // The last picture too, which stays on the page in the browser.
        if (!clock.held() || client.ended()) present();
        if (client.ended()) return std::nullopt;
    }
    if (clock.held()) return clock.heldUntil();
    if (client.paused()) return std::nullopt;
    return Earliest(router_.nextRepeat(), client.nextWake());
}

void WindowRunner::present() {
    const Frame frame = client_->frame();
    if (!frame.picture) return;
    if (noting())
        screen_.presentAll(noteOverlay_.note(*frame.picture, note_));
    else if (frame.whole)
        screen_.presentAll(*frame.picture);
    else
        screen_.present(*frame.picture, frame.changed);
    if (!frame.whole && !frame.also.empty()) screen_.present(*frame.picture, frame.also);
}

void WindowRunner::showAll() {
    if (!client_) return;
    if (noting())
        screen_.presentAll(noteOverlay_.note(client_->shown(), note_));
    else
        screen_.presentAll(client_->shown());
}

void WindowRunner::showNote(std::string line) {
    note_ = std::move(line);
    noteUntil_ = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    showAll();
}

// The controllers read, queued events, then the controller repeats that fell due: all of it
// input, so all of it before the next tick.
void WindowRunner::deliverPending() {
    if (controllers_.ok()) SDL_GameControllerUpdate();
    SDL_Event event;
    while (!client_->ended() && !client_->clock().held() && SDL_PollEvent(&event) == 1)
        deliver(event);
    if (client_->ended() || client_->paused() || !router_.nextRepeat()) return;
    routed_.clear();
    router_.repeatDue(client_->clock().now(), routed_);
    apply(routed_);
}

void WindowRunner::deliver(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            onWindowEvent(event.window);
            break;
        case SDL_QUIT:  // the window manager's close request
            client_->close();
            break;
        case SDL_TEXTINPUT:
            client_->text(event.text.text);
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            deliverPointer(event);
            break;
        default: {
            const InputFamily before = router_.family();
            routed_.clear();
            router_.route(event, client_->clock().now(), screen_.layout(), client_->width(),
                          client_->height(), routed_);
            apply(routed_);
            // The names the client shows follow what the player used last.
            if (router_.family() != before && !client_->ended()) client_->valuesChanged();
            break;
        }
    }
}

// The pointer to the client first; a press it leaves becomes the game's MouseDown when it is
// on the picture.
void WindowRunner::deliverPointer(const SDL_Event& event) {
    PointerInput pointer;
    int x = 0, y = 0;
    if (event.type == SDL_MOUSEMOTION) {
        x = event.motion.x;
        y = event.motion.y;
        pointer.kind = PointerInput::Kind::Move;
        pointer.button = HeldButtons(event.motion.state);
        pointer.moved = pointerMoved(x, y);
    } else {
        x = event.button.x;
        y = event.button.y;
        pointer.kind = event.type == SDL_MOUSEBUTTONDOWN ? PointerInput::Kind::Press
                                                         : PointerInput::Kind::Release;
        pointer.button = MouseButtonFromSdl(event.button.button).value_or(0);
    }
    const int w = client_->width(), h = client_->height();
    const PicturePoint at = PicturePlace(screen_.layout(), w, h, x, y);
    pointer.x = at.x;
    pointer.y = at.y;
    pointer.inside = PictureAt(screen_.layout(), w, h, x, y).has_value();
    if (client_->pointer(pointer) || event.type != SDL_MOUSEBUTTONDOWN) return;
    routed_.clear();
    router_.route(event, client_->clock().now(), screen_.layout(), w, h, routed_);
    apply(routed_);
}

void WindowRunner::apply(const std::vector<Routed>& routed) {
    for (const Routed& input : routed) {
        if (client_->ended()) return;
        if (!windowCommand(input.command)) client_->input(input);
    }
}

bool WindowRunner::windowCommand(Command command) {
    switch (command) {
        case Command::Screenshot:
            screenshot();
            return true;
        case Command::Mute:
            setMuted(!muted_);
            return true;
        case Command::ToggleFullscreen:
            stepSetting(Setting::Fullscreen, 1);
            return true;
        case Command::ScaleUp:
        case Command::ScaleDown:
            break;
        default:
            return false;
    }
    // The window's scale, one step at a time, up to the largest that fits its display. A
    // browser's page sizes the picture itself (Ctrl+Plus is the browser's zoom there).
    if (screen_.fullscreen() || BuildTarget() == "web") return true;
    const int now = screen_.windowScale();
    const int next = now + (command == Command::ScaleUp ? 1 : -1);
    const int top = std::min(kMaxScale, std::max(now, screen_.fittingScale()));
    if (next < kMinScale || next > top) return true;
    pointerRebase_ = true;
    screen_.setWindowScale(next);
    settings_.scale = next;
    remember(Setting::Scale);
    showAll();
    return true;
}

void WindowRunner::screenshot() {
    const SavedScreenshot saved =
        SaveScreenshot(client_->screenshot(), ScreenshotsDir(), LocalNow());
    if (saved.error.empty()) {
        std::printf("%s\n", saved.path.c_str());
        showNote("Screenshot saved: " + saved.path);
    } else {
        std::fprintf(stderr, "hopla: screenshot not saved: %s\n", saved.error.c_str());
        showNote("Screenshot not saved: " + saved.error);
    }
    std::fflush(stdout);
}

void WindowRunner::onWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            pointerRebase_ = true;
            [[fallthrough]];
        case SDL_WINDOWEVENT_EXPOSED:
            showAll();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
            if (settings_.pauseWhenUnfocused) client_->away(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            client_->away(false);
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
            showAll();
            break;
        default:
            break;
    }
}

bool WindowRunner::pointerMoved(int x, int y) {
    const std::pair place(x, y);
    const bool moved = !pointerRebase_ && pointer_ != place;
    pointer_ = place;
    pointerRebase_ = false;
    return moved;
}

MenuValues WindowRunner::values() const {
    Settings showing = settings_;
    showing.fullscreen = screen_.fullscreen();
    showing.scaling = screen_.scaling();
    showing.keys = WithDefaults(settings_.keys);
    const InputFamily input = touchScreen_ && router_.family() == InputFamily::Keyboard
                                  ? InputFamily::Touch
                                  : router_.family();
    return MenuValues{showing, muted_, sound_.hasDevice(), input, KeyNames};
}

// A setting stepped by the player (the menu, F11): carried out, then remembered.
void WindowRunner::stepSetting(Setting setting, int direction) {
    Settings next = values().settings;
    RowOf(setting).step(next, direction);
    switch (setting) {
        case Setting::Fullscreen:
            pointerRebase_ = true;
            screen_.setFullscreen(next.fullscreen);
            settings_.fullscreen = screen_.fullscreen();
            showAll();
            // A page goes on the whole screen only when asked in the visit: not remembered.
            if (BuildTarget() == "web") return;
            break;
        case Setting::Scaling:
            settings_.scaling = next.scaling;
            screen_.setScaling(settings_.scaling);
            break;
        case Setting::Volume:
            setMuted(false);  // a change of the volume is heard
            setVolume(next.volume);
            break;
        case Setting::Speed:  // the client sets its clock's rate
            settings_.speed = next.speed;
            break;
        case Setting::Ghost:  // off, or the best game's or each stage's best run
            settings_.ghostStages = next.ghostStages;
            remember(Setting::GhostRun);
            [[fallthrough]];
        case Setting::Race:  // the client draws them
            settings_.race = next.race;
            settings_.ghost = next.ghost;
            break;
        default:
            return;  // no row of the menu
    }
    remember(setting);
}

std::string WindowRunner::bind(Role role, bool pad, std::int32_t code) {
    if (!pad && WindowCommandOf(code, 0))
        return KeyNames({code}) + " is the window's own key; choose another";
    const auto next = Rebind(WithDefaults(settings_.keys), role, pad, code, KeyNames);
    if (const std::string* refused = std::get_if<std::string>(&next)) return *refused;
    // Only the role's own line changes: the others keep their defaults or the player's lines.
    const KeyList list = ListOf(role, pad);
    saved_.keys.*list = settings_.keys.*list = std::get<KeyBindings>(next).*list;
    rememberKeys();
    return "Taken: " + (pad ? PadButtonNames({code}, router_.family()) : KeyNames({code}));
}

void WindowRunner::resetKeys() {
    settings_.keys = saved_.keys = {};
    rememberKeys();
}

void WindowRunner::rememberKeys() {
    router_.setKeyBindings(settings_.keys);
    if (client_) client_->valuesChanged();
    if (settingsPath_.empty()) return;
    const KeyNamer names = KeyNames;
    if (const std::optional<std::string> error = SaveSettings(settingsPath_, saved_, &names)) {
        if (!saveFailed_) std::fprintf(stderr, "hopla: settings not saved: %s\n", error->c_str());
        saveFailed_ = true;
    }
}

void WindowRunner::setTyping(bool typing) {
    router_.setTyping(typing);
    if (typing)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

void WindowRunner::setVolume(int volume) {
    settings_.volume = volume;
    sound_.setVolume(muted_ ? 0 : volume);
    if (client_) client_->valuesChanged();
}

void WindowRunner::setMuted(bool muted) {
    muted_ = muted;
    setVolume(settings_.volume);
}

void WindowRunner::remember(Setting setting) {
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
