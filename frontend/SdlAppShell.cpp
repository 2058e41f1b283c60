// The shell around the game in the window: pausing, the menu and its choices, the volume and the
// scaling mode. Nothing here runs a handler of the game but the releases owed after a pause and
// the close request of Quit.
#include <algorithm>

#include "frontend/Icon.h"
#include "frontend/SdlApp.h"

namespace hopla {

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
        Settings showing = settings_;
        showing.fullscreen = screen_.fullscreen();
        showing.scaling = screen_.scaling();
        const MenuValues values{showing, muted_, sound_.hasDevice()};
        return overlay_.menu(
            game_.picture(),
            menu_.view(values, keyLines_ ? keyLines_() : DefaultKeyLines(),
                       recordLines_ ? recordLines_() : std::vector<std::string>{}));
    }
    if (gate_.paused()) return overlay_.paused(game_.picture());
    return game_.picture();
}

// The menu's moves: a controller's d-pad, A and B as they come, the game's keys by what they
// are for (MenuMoveOf).
bool SdlApp::menuInput(const Routed& routed) {
    if (!menu_.isOpen()) return false;  // a controller's menu buttons are nobody's then
    const std::optional<Command> move = MenuMoveOf(routed);
    if (!move) return false;
    menuAction(menu_.move(*move));
    return true;
}

bool SdlApp::pointerMoved(const SDL_MouseMotionEvent& motion) {
    const std::pair place(motion.x, motion.y);
    const bool moved = !pointerRebase_ && pointer_ != place;
    pointer_ = place;
    pointerRebase_ = false;
    return moved;
}

// The pointer over the menu: moving onto a row selects it, a left click chooses it, a click off
// every row does nothing. Taken only while the menu is open; a motion of a pointer that did not
// move (pointerMoved) is taken and changes nothing.
bool SdlApp::menuPointer(const SDL_Event& event, bool moved) {
    if (!menu_.isOpen()) return false;
    if (event.type == SDL_MOUSEMOTION && !moved) return true;
    const int x = event.type == SDL_MOUSEMOTION ? event.motion.x : event.button.x;
    const int y = event.type == SDL_MOUSEMOTION ? event.motion.y : event.button.y;
    const std::optional<PicturePoint> at =
        PictureAt(screen_.layout(), Game::kWidth, Game::kHeight, x, y);
    const std::optional<int> row = at ? overlay_.rowAt(at->x, at->y) : std::nullopt;
    if (!row) return true;
    if (event.type == SDL_MOUSEMOTION) {
        const int before = menu_.selected();
        menu_.hover(*row);
        if (menu_.selected() != before) menuAction({});  // drawn again
    } else if (event.button.button == SDL_BUTTON_LEFT) {
        menuAction(menu_.click(*row));
    }
    return true;
}

void SdlApp::menuAction(MenuAction action) {
    overlayChanged_ = true;
    switch (action.kind) {
        case MenuAction::Kind::Resume:  // out of a pause by P as well
        {
            // The menu still holds the pause, so nothing is owed yet.
            std::vector<Routed> none;
            gate_.release(PauseReason::Player, none);
        }
            resume(PauseReason::Menu);
            break;
        case MenuAction::Kind::Step:
            step(action.setting, action.direction);
            break;
        case MenuAction::Kind::Quit:
            // As the window's close request: the game ends at once, status 0.
            input(InputKind::Close, 0);
            break;
        default:
            break;
    }
}

// A setting stepped by the player (the menu, F11): carried out, then remembered.
void SdlApp::step(Setting setting, int direction) {
    Settings next = settings_;
    next.fullscreen = screen_.fullscreen();
    next.scaling = screen_.scaling();
    RowOf(setting).step(next, direction);
    switch (setting) {
        case Setting::Fullscreen:
            pointerRebase_ = true;
            screen_.setFullscreen(next.fullscreen);
            settings_.fullscreen = screen_.fullscreen();
            screen_.presentAll(shown());
            break;
        case Setting::Scaling:
            settings_.scaling = next.scaling;
            screen_.setScaling(settings_.scaling);
            break;
        case Setting::Volume:
            setMuted(false);  // a change of the volume is heard
            setVolume(next.volume);
            break;
        default:
            return;  // no row of the menu
    }
    remember(setting);
}

void SdlApp::setVolume(int volume) {
    settings_.volume = volume;
    sound_.setVolume(muted_ ? 0 : volume);
    if (menu_.isOpen()) overlayChanged_ = true;
}

void SdlApp::setMuted(bool muted) {
    muted_ = muted;
    setVolume(settings_.volume);
}

}  // namespace hopla
