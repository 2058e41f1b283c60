// The shell around the game in the window: pausing, the menu and its choices, the volume and the
// scaling mode. Nothing here runs a handler of the game but the releases owed after a pause and
// the close request of Quit.
#include <algorithm>

#include "frontend/Icon.h"
#include "frontend/SdlApp.h"

namespace hopla {
namespace {

constexpr int kVolumeStep = kMaxVolume / 10;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyEnter = 13,
              kKeySpace = 32;

}  // namespace

void SdlApp::SetWindowIcon(SDL_Window* window) {
    std::optional<IconPixels> icon = WindowIcon();
    if (!icon) return;  // the window keeps the desktop's default icon
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(icon->argb.data(), icon->width, icon->height, 32,
                                           icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);  // SDL keeps a copy
    SDL_FreeSurface(surface);
}

// The game's clock stops, and the sound with it, when the first reason comes.
void SdlApp::pause(PauseReason reason) {
    if (gate_.hold(reason)) {
        clock_.pause();
        sound_.setPaused(true);
    }
    overlayChanged_ = true;
}

// ... and goes on from where it stood when the last one goes; then the game is told of the keys
// let go meanwhile.
void SdlApp::resume(PauseReason reason) {
    if (reason == PauseReason::Menu) menu_.close();
    std::vector<Routed> owed;
    if (!gate_.release(reason, owed)) {
        overlayChanged_ = true;  // another reason still pauses: its sign shows
        return;
    }
    clock_.resume();
    sound_.setPaused(false);
    overlayChanged_ = true;
    for (const Routed& release : owed) {
        if (game_.ended()) return;
        input(InputKind::KeyUp, release.code);
        if (inputObserver_) inputObserver_(release);
    }
}

const Image& SdlApp::shown() {
    if (menu_.isOpen()) {
        const Menu::Values values{screen_.fullscreen(), screen_.scaling(), settings_.volume,
                                  muted_};
        return overlay_.menu(
            game_.picture(),
            menu_.view(values, keyLines_ ? keyLines_() : DefaultKeyLines(),
                       recordLines_ ? recordLines_() : std::vector<std::string>{}));
    }
    if (gate_.paused()) return overlay_.paused(game_.picture());
    return game_.picture();
}

// The menu's moves from keys (arrows, Enter, Space) and from a controller (d-pad, A, B; its
// d-pad left and right and Start come as the keys they are for the game).
bool SdlApp::menuInput(const Routed& routed) {
    if (!menu_.isOpen()) return false;  // a controller's menu buttons are nobody's then
    MenuAction action = MenuAction::None;
    switch (routed.command) {
        case Command::PadUp:
            action = menu_.up();
            break;
        case Command::PadDown:
            action = menu_.down();
            break;
        case Command::PadSelect:
            action = menu_.select();
            break;
        case Command::PadBack:
            action = menu_.back();
            break;
        case Command::KeyDown:
            switch (routed.code) {
                case kKeyUp:
                    action = menu_.up();
                    break;
                case kKeyDown:
                    action = menu_.down();
                    break;
                case kKeyLeft:
                    action = menu_.left();
                    break;
                case kKeyRight:
                    action = menu_.right();
                    break;
                case kKeyEnter:
                case kKeySpace:
                    action = menu_.select();
                    break;
                default:
                    return false;
            }
            break;
        default:
            return false;
    }
    menuAction(action);
    return true;
}

// The pointer over the menu: hovering selects a row, a left click chooses it, a click off every
// row does nothing. Taken only while the menu is open.
bool SdlApp::menuPointer(const SDL_Event& event) {
    if (!menu_.isOpen()) return false;
    const int x = event.type == SDL_MOUSEMOTION ? event.motion.x : event.button.x;
    const int y = event.type == SDL_MOUSEMOTION ? event.motion.y : event.button.y;
    const std::optional<PicturePoint> at =
        PictureAt(screen_.layout(), Game::kWidth, Game::kHeight, x, y);
    const std::optional<int> row = at ? overlay_.rowAt(at->x, at->y) : std::nullopt;
    if (!row) return true;
    if (event.type == SDL_MOUSEMOTION) {
        const int before = menu_.selected();
        menu_.hover(*row);
        if (menu_.selected() != before) menuAction(MenuAction::None);  // drawn again
    } else if (event.button.button == SDL_BUTTON_LEFT) {
        menuAction(menu_.click(*row));
    }
    return true;
}

void SdlApp::menuAction(MenuAction action) {
    overlayChanged_ = true;
    switch (action) {
        case MenuAction::None:
            break;
        case MenuAction::Resume:  // out of a pause by P as well
        {
            // The menu still holds the pause, so nothing is owed yet.
            std::vector<Routed> none;
            gate_.release(PauseReason::Player, none);
        }
            resume(PauseReason::Menu);
            break;
        case MenuAction::ToggleFullscreen:
            command(Command::ToggleFullscreen);
            break;
        case MenuAction::ToggleScaling:
            toggleScaling();
            break;
        case MenuAction::VolumeUp:
            setVolume(std::min(kMaxVolume, settings_.volume + kVolumeStep), false);
            break;
        case MenuAction::VolumeDown:
            setVolume(std::max(0, settings_.volume - kVolumeStep), false);
            break;
        case MenuAction::VolumeNext:
            setVolume(settings_.volume >= kMaxVolume ? 0 : settings_.volume + kVolumeStep, false);
            break;
        case MenuAction::Quit:
            // As the window's close request: the game ends at once, status 0.
            input(InputKind::Close, 0);
            break;
    }
}

void SdlApp::setVolume(int volume, bool muted) {
    const bool changed = volume != settings_.volume;
    settings_.volume = volume;
    muted_ = muted;
    sound_.setVolume(muted_ ? 0 : volume);
    if (changed) remember();
    if (menu_.isOpen()) overlayChanged_ = true;
}

void SdlApp::toggleScaling() {
    settings_.scaling =
        screen_.scaling() == ScalingMode::Fit ? ScalingMode::Integer : ScalingMode::Fit;
    screen_.setScaling(settings_.scaling);
    remember();
}

}  // namespace hopla
