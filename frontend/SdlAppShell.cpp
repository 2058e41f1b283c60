// The shell around the game in the window: pausing, the menu and its choices. Nothing here runs
// a handler of the game but the releases owed after a pause and the close request of Quit.
#include <algorithm>

#include "frontend/SdlApp.h"
#include "platform/Platform.h"
#include "shell/DemoLink.h"
#include "shell/RecordKeeper.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

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
        const std::vector<std::string> keys = IsController(values.input)
                                                  ? ControllerKeyLines(values.input)
                                              : keyLines_ ? keyLines_()
                                                          : DefaultKeyLines(BuildTarget() == "web");
        return overlay_.menu(
            game_.picture(),
            menu_.view(values, keys, recordLines_ ? recordLines_() : std::vector<std::string>{}));
    }
    // After Quit the last picture stays on the page as the game left it, with no pause sign.
    if (game_.ended()) return game_.picture();
    if (gate_.paused()) return overlay_.paused(game_.picture(), PausedHint(values.input));
    if (!raceOn_ && !ghostOn_) return game_.picture();
    raced_ = game_.picture();
    raceLines_ = raceOn_ ? race_.lines() : std::vector<std::string>{};
    racedLast_ = overlay_.race(raced_, raceLines_);
    ghostLast_ = drawGhost(ghostNow());
    return raced_;
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

void SdlApp::toggleRace() {
    runner_.stepSetting(Setting::Race, 1);
    raceOn_ = runner_.values().settings.race;
    overlayChanged_ = true;
}

void SdlApp::applySpeed() {
    const int speed = runner_.values().settings.speed;
    clock_.setRate(speed);
    if (keeper_) keeper_->slowed(speed < RealClock::kFullRate);
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
            // A demo being recorded said at its start who plays: its speed stays.
            if (action.setting == Setting::Speed && demo_ && demo_->recording()) break;
            runner_.stepSetting(action.setting, action.direction);
            if (action.setting == Setting::Speed) applySpeed();
            raceOn_ = runner_.values().settings.race;
            ghostOn_ = runner_.values().settings.ghost;
            ghostStages_ = runner_.values().settings.ghostStages;
            if (ghost_) ghost_->setStageBests(ghostStages_);
            break;
        case MenuAction::Kind::ResetKeys:
            runner_.resetKeys();
            menu_.bound("Every key and button back to its default");
            break;
        case MenuAction::Kind::Export:
        case MenuAction::Kind::Import:
#ifdef __EMSCRIPTEN__
            // The page does it (frontend/web/pre.js); an import reloads the page.
            if (action.kind == MenuAction::Kind::Export)
                EM_ASM({ Module.hoplaExportKept(); });
            else
                EM_ASM({ Module.hoplaImportKept(); });
#endif
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
