// The shell around the game in the window: pausing, the menu and its choices. Nothing here runs
// a handler of the game but the releases owed after a pause and the close request of Quit.
#include <algorithm>

#include "frontend/SdlApp.h"

namespace hopla {

// The game's clock stops, and the sound with it, when the first reason comes.
void SdlApp::pause(PauseReason reason) {
    if (gate_.hold(reason)) {
        clock_.pause();
        runner_.setSoundPaused(true);
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
    runner_.setSoundPaused(false);
    overlayChanged_ = true;
    for (const Routed& release : owed) {
        if (game_.ended()) return;
        toGame(InputKind::KeyUp, release.code);
        if (inputObserver_) inputObserver_(release);
    }
}

const Image& SdlApp::shown() {
    const MenuValues values = runner_.values();
    if (menu_.isOpen()) {
        // The Keys page lists the controller's buttons while a controller was used last.
        const std::vector<std::string> keys = values.input != InputFamily::Keyboard
                                                  ? ControllerKeyLines(values.input)
                                              : keyLines_ ? keyLines_()
                                                          : DefaultKeyLines();
        return overlay_.menu(
            game_.picture(),
            menu_.view(values, keys, recordLines_ ? recordLines_() : std::vector<std::string>{}));
    }
    if (gate_.paused()) return overlay_.paused(game_.picture(), PausedHint(values.input));
    return game_.picture();
}

void SdlApp::valuesChanged() {
    if (menu_.isOpen() || gate_.paused()) overlayChanged_ = true;
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

// The pointer over the menu: moving onto a row selects it, a left click chooses it, a click off
// every row does nothing. Taken only while the menu is open; a motion of a pointer that did not
// move is taken and changes nothing.
bool SdlApp::pointer(const PointerInput& pointer) {
    if (!menu_.isOpen()) return false;
    if (pointer.kind == PointerInput::Kind::Release) return true;
    if (pointer.kind == PointerInput::Kind::Move && !pointer.moved) return true;
    const std::optional<int> row =
        pointer.inside ? overlay_.rowAt(pointer.x, pointer.y) : std::nullopt;
    if (!row) return true;
    if (pointer.kind == PointerInput::Kind::Move) {
        const int before = menu_.selected();
        menu_.hover(*row);
        if (menu_.selected() != before) menuAction({});  // drawn again
    } else if (pointer.button == kMouseLeft) {
        menuAction(menu_.click(*row));
    }
    return true;
}

void SdlApp::menuAction(MenuAction action) {
    overlayChanged_ = true;
    runner_.setCapturing(menu_.capturing().has_value());
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
            runner_.stepSetting(action.setting, action.direction);
            break;
        case MenuAction::Kind::ResetKeys:
            runner_.resetKeys();
            menu_.bound("Every key and button back to its default");
            break;
        case MenuAction::Kind::Quit:
            // As the window's close request: the game ends at once, status 0.
            close();
            break;
        default:
            break;
    }
}

}  // namespace hopla
