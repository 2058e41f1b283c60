// The editor's modes: keys and the pointer to the document, the test game or the typed text; the
// check's progress; the picture.
#include "editor/EditorSession.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string_view>

#include "platform/Platform.h"
#include "play/Keys.h"
#include "shell/Overlay.h"
#include "toolkit/Environment.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

namespace hopla {
namespace {

constexpr Duration kCheckRefresh = std::chrono::milliseconds(200);

// The editor's keys, as the game's key codes spell them (Routed::key).
constexpr int kKeyBackspace = 8;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyPad0 = 96;

// The editor's menu, opened with a controller's Start: each item as the strip shows it.
constexpr const char* kMenuItems[] = {"Test play", "Check", "Save",   "Undo",
                                      "Redo",      "Name",  "Author", "Leave"};
constexpr int kMenuCount = static_cast<int>(std::size(kMenuItems));

// The letters the picker offers, for typing with a controller.
constexpr std::string_view kPickLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-'!?&()";

// Which way an input steers: the d-pad, the stick and the arrow keys (a key bound to steer
// counts only from a controller, whose inputs carry no key of their own).
int Horizontal(const Routed& input) {
    if (input.command == Command::Left) return -1;
    if (input.command == Command::Right) return 1;
    if (input.command != Command::KeyDown || (input.key != 0 && input.key != input.code)) return 0;
    return input.code == kVkLeft ? -1 : input.code == kVkRight ? 1 : 0;
}
int Vertical(const Routed& input) {
    if (input.command == Command::Up) return -1;
    if (input.command == Command::Down) return 1;
    if (input.command != Command::KeyDown || input.key != input.code) return 0;
    return input.code == kVkUp ? -1 : input.code == kVkDown ? 1 : 0;
}
// A controller's Start (or Back): the game's back key with no key of its own.
bool StartButton(const Routed& input) {
    return input.command == Command::KeyDown && input.code == kVkSpace && input.key == 0;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The tile code a digit key chooses, on the main keys or the keypad; none for other keys.
std::optional<int> TileKey(int key) {
    if (key >= '0' && key < '0' + kPaletteCodes) return key - '0';
    if (key >= kKeyPad0 && key < kKeyPad0 + kPaletteCodes) return key - kKeyPad0;
    return std::nullopt;
}

}  // namespace

EditorSession::EditorSession(WindowHost& host, StageEdit edit, std::string exeDir)
    : host_(host), view_(clock_, host.text()), edit_(std::move(edit)), exeDir_(std::move(exeDir)) {
    std::error_code error;
    if (std::filesystem::exists(PathFromUtf8(edit_.recoveryPath()), error)) {
        message_ = "Edits not saved last time are in " + edit_.recoveryPath();
        std::fprintf(stderr, "hopla: %s\n", Escaped(message_).c_str());
    }
}

void EditorSession::input(const Routed& input) {
    switch (mode_) {
        case Mode::Play:
            return playInput(input);
        case Mode::Prompt:
            return promptInput(input);
        case Mode::Typing:
            return typingInput(input);
        case Mode::Menu:
            return menuInput(input);
        case Mode::Edit:
            break;
    }
    if (cursorInput(input)) return;
    if (StartButton(input)) {
        mode_ = Mode::Menu;
        redraw_ = true;
    } else if (input.command == Command::KeyDown) {
        editKey(input);
    } else if (input.command == Command::Menu) {
        redraw_ = true;
        if (placingStart_) {
            placingStart_ = false;
            message_.clear();
        } else {
            leave();
        }
    }
}

void EditorSession::editKey(const Routed& key) {
    const int k = key.key;
    redraw_ = true;
    if (key.ctrl) {
        if (k == 'Z')
            message_ = edit_.undo() ? "Undone" : "Nothing to undo";
        else if (k == 'Y')
            message_ = edit_.redo() ? "Redone" : "Nothing to redo";
        else if (k == 'S')
            save();
    } else if (const std::optional<int> tile = TileKey(k)) {
        code_ = *tile;
        placingStart_ = false;
    } else if (k == 'S') {
        placingStart_ = true;
        message_ = "Click where the ball starts";
    } else if (k == kKeyPageUp || k == kKeyPageDown) {
        edit_.turnPage(k == kKeyPageUp ? 1 : -1);
        placingStart_ = false;
        message_.clear();
    } else if (k == 'N' || k == 'A') {
        beginTyping(k == 'N' ? Field::Name : Field::Author);
    } else if (k == 'T') {
        startPlay();
    } else if (k == 'C') {
        startCheck();
    }
}

bool EditorSession::cursorInput(const Routed& input) {
    const int dx = Horizontal(input), dy = Vertical(input);
    if (dx || dy) {
        cursor_.column = std::clamp(cursor_.column + dx, 0, kStageColumnCount - 1);
        cursor_.row = std::clamp(cursor_.row + dy, 0, kStageRowCount - 1);
    } else if (input.command == Command::Select) {
        paintAtCursor(code_);
    } else if (input.command == Command::Back) {
        paintAtCursor(0);
    } else if (input.command == Command::Action) {
        message_ = edit_.placeStart(cursor_.column * kTileSize + kTileSize / 2,
                                    cursor_.row * kTileSize + kTileSize / 2)
                       ? "Start point placed"
                       : "The ball starts inside the outer cells";
    } else if (input.command == Command::PageNext || input.command == Command::PagePrevious) {
        edit_.turnPage(input.command == Command::PageNext ? 1 : -1);
        message_.clear();
    } else if (input.command == Command::MouseDown) {
        // Only a controller's shoulder buttons: the pointer's presses are taken before.
        code_ = (code_ + (input.code == kMouseRight ? 1 : kPaletteCodes - 1)) % kPaletteCodes;
    } else {
        return false;
    }
    cursorShown_ = true;
    placingStart_ = false;
    redraw_ = true;
    return true;
}

void EditorSession::paintAtCursor(int code) {
    edit_.beginStroke();
    edit_.paint(cursor_.column, cursor_.row, code);
    edit_.endStroke();
    message_.clear();
}

// Up and Down or Left and Right go round the items, A or Enter chooses, B, Esc or Start closes.
void EditorSession::menuInput(const Routed& input) {
    redraw_ = true;
    if (const int step = Horizontal(input) + Vertical(input)) {
        menuItem_ = (menuItem_ + step + kMenuCount) % kMenuCount;
    } else if (input.command == Command::Select ||
               (input.command == Command::KeyDown && input.key == kVkEnter)) {
        mode_ = Mode::Edit;
        choose(menuItem_);
    } else if (input.command == Command::Back || input.command == Command::Menu ||
               StartButton(input)) {
        mode_ = Mode::Edit;
    }
}

void EditorSession::choose(int item) {
    switch (item) {
        case 0:
            return startPlay();
        case 1:
            return startCheck();
        case 2:
            save();
            return;
        case 3:
            message_ = edit_.undo() ? "Undone" : "Nothing to undo";
            return;
        case 4:
            message_ = edit_.redo() ? "Redone" : "Nothing to redo";
            return;
        case 5:
        case 6:
            return beginTyping(item == 5 ? Field::Name : Field::Author);
        default:
            return leave();
    }
}

void EditorSession::startCheck() {
    if (!check_.start(edit_.table(), edit_.stage())) {
        message_ = "A check is running already";
        return;
    }
    message_.clear();
    checkedStage_ = edit_.stage();
    checkedBlock_ = edit_.block();
}

void EditorSession::promptInput(const Routed& input) {
    redraw_ = true;
    if ((input.command == Command::KeyDown && input.key == 'Y') ||
        input.command == Command::Select) {
        mode_ = Mode::Edit;
        if (save()) quit_ = true;
    } else if ((input.command == Command::KeyDown && input.key == 'N') || StartButton(input)) {
        quit_ = true;
    } else if (input.command == Command::Menu || input.command == Command::Back) {
        mode_ = Mode::Edit;
        message_.clear();
    }
}

void EditorSession::beginTyping(Field field) {
    field_ = field;
    typed_ = field == Field::Name ? edit_.table().name : edit_.table().author;
    placingStart_ = false;
    message_.clear();
    mode_ = Mode::Typing;
    host_.setTyping(true);
}

void EditorSession::text(std::string_view typed) {
    if (mode_ != Mode::Typing) return;
    redraw_ = true;
    message_.clear();
    if (Utf8Characters(typed_) + Utf8Characters(std::string(typed)) <= kMaxStageNameLength)
        typed_ += typed;
}

void EditorSession::typingInput(const Routed& input) {
    redraw_ = true;
    const int pickStep = Horizontal(input);
    if (input.command == Command::Menu) {
        endTyping(false);
    } else if (pickStep) {
        pick_ = (pick_ + kPickLetters.size() + static_cast<std::size_t>(pickStep)) %
                kPickLetters.size();
    } else if (input.command == Command::Select || Vertical(input) > 0) {
        text(kPickLetters.substr(pick_, 1));
    } else if (StartButton(input)) {
        endTyping(true);
    } else if (input.command == Command::Back) {
        if (!typed_.empty()) typingInput({Command::KeyDown, kKeyBackspace, kKeyBackspace});
    } else if (input.command != Command::KeyDown) {
        return;
    } else if (input.key == kKeyBackspace && !typed_.empty()) {
        std::size_t last = typed_.size() - 1;  // back over the last character's continuation bytes
        while (last > 0 && (static_cast<unsigned char>(typed_[last]) & 0xC0) == 0x80) --last;
        typed_.erase(last);
    } else if (input.key == kVkEnter) {
        endTyping(true);
    }
}

void EditorSession::endTyping(bool keep) {
    if (keep) {
        const std::string text = Trimmed(typed_);
        if (field_ == Field::Name && text.empty()) {
            message_ = "A stage file needs a name";
            return;
        }
        edit_.setLabels(field_ == Field::Name ? text : edit_.table().name,
                        field_ == Field::Author ? text : edit_.table().author);
    }
    host_.setTyping(false);
    mode_ = Mode::Edit;
    message_.clear();
    redraw_ = true;
}

void EditorSession::close() {
    if (mode_ == Mode::Play) stopPlay("");
    if (mode_ == Mode::Typing) endTyping(false);
    if (TerminationRequested()) return endNow();
    leave();
}

// Made to end (a termination request, a hangup): no one is there to answer the prompt, so the
// edits not saved go to the recovery file beside the stage file, and the editor ends at once.
void EditorSession::endNow() {
    quit_ = true;
    if (!edit_.modified()) return;
    try {
        edit_.saveRecovery();
        std::fprintf(stderr, "hopla: the edits not saved are kept in %s\n",
                     Escaped(edit_.recoveryPath()).c_str());
    } catch (const StageFileError& e) {
        std::fprintf(stderr, "hopla: the edits not saved are lost: %s\n", e.what());
        exitStatus_ = 1;
    }
}

void EditorSession::leave() {
    if (!edit_.modified()) {
        quit_ = true;
        return;
    }
    mode_ = Mode::Prompt;
    redraw_ = true;
}

bool EditorSession::save() {
    try {
        edit_.save();
        message_ = "Saved " + Drawable(edit_.path());
        return true;
    } catch (const StageFileError& e) {
        message_ = Drawable(e.what());
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return false;
    }
}

// Left paints with the chosen tile and right empties, a stroke at a time; a left click on the
// palette chooses the tile, and places the start after S.
bool EditorSession::pointer(const PointerInput& p) {
    if (mode_ == Mode::Play) return false;  // a press is the game's
    if (mode_ != Mode::Edit) return true;
    const int button = p.kind == PointerInput::Kind::Move ? strokeButton_ : p.button;
    if (button != kMouseLeft && button != kMouseRight) return true;
    if (p.kind == PointerInput::Kind::Move && !(p.button & strokeButton_)) return true;
    redraw_ = true;
    if (p.kind == PointerInput::Kind::Release) {
        if (strokeButton_ == button) {
            edit_.endStroke();
            strokeButton_ = 0;
        }
        return true;
    }
    if (!strokeButton_) {
        if (const std::optional<int> code = PaletteCodeAt(p.x, p.y); code && button == kMouseLeft) {
            code_ = *code;
            placingStart_ = false;
            return true;
        }
        if (p.x < 0 || p.y < 0 || p.x >= kScreenWidth || p.y >= kScreenHeight) return true;
        if (placingStart_ && button == kMouseLeft) {
            placingStart_ = false;
            message_ = edit_.placeStart(p.x, p.y) ? "Start point placed"
                                                  : "The ball starts inside the outer cells";
            return true;
        }
        strokeButton_ = button;
        edit_.beginStroke();
        message_.clear();
    }
    edit_.paint(std::clamp(p.x, 0, kScreenWidth - 1) / kTileSize,
                std::clamp(p.y, 0, kScreenHeight - 1) / kTileSize,
                strokeButton_ == kMouseRight ? 0 : code_);
    return true;
}

void EditorSession::startPlay() {
    if (strokeButton_) {
        edit_.endStroke();
        strokeButton_ = 0;
    }
    game_ = std::make_unique<Game>(clock_, host_.sound(), &host_.text(), ClockSeed(), exeDir_);
    game_->applyStages(edit_.table());
    playStage_ = edit_.stage();
    game_->startStage(playStage_);
    mode_ = Mode::Play;
    message_.clear();
    redraw_ = true;
}

void EditorSession::stopPlay(std::string message) {
    game_.reset();
    host_.sound().stop(false);
    if (gate_.paused()) {
        gate_ = PauseGate();
        clock_.resume();
        host_.setSoundPaused(false);
    }
    mode_ = Mode::Edit;
    message_ = std::move(message);
    redraw_ = true;
}

// Esc (or a controller's Guide) goes back to the editor; P pauses as in the game; the keys, with
// their bindings, and the presses are the game's.
void EditorSession::playInput(const Routed& input) {
    switch (input.command) {
        case Command::Menu:
            return stopPlay("");
        case Command::Pause:
            return togglePause();
        case Command::KeyDown:
            if (gate_.pass(input)) game_->keyDown(input.code);
            return;
        case Command::KeyUp:
            if (gate_.pass(input)) game_->keyUp(input.code);
            return;
        case Command::MouseDown:
            if (gate_.pass(input)) game_->mouseDown(input.code);
            return;
        default:
            return;
    }
}

void EditorSession::togglePause() {
    setPaused(PauseReason::Player, !gate_.pausedFor(PauseReason::Player));
}

void EditorSession::away(bool away) {
    if (mode_ == Mode::Play) setPaused(PauseReason::Away, away);
}

// The test game's clock and sound stop with the first reason and go on when the last one goes;
// then the game hears of the keys let go meanwhile.
void EditorSession::setPaused(PauseReason reason, bool paused) {
    redraw_ = true;
    if (paused) {
        if (gate_.hold(reason)) {
            clock_.pause();
            host_.setSoundPaused(true);
        }
        return;
    }
    std::vector<Routed> owed;
    if (!gate_.release(reason, owed)) return;
    clock_.resume();
    host_.setSoundPaused(false);
    for (const Routed& release : owed) game_->keyUp(release.code);
}

// A tick of the test game, which ends when the game or the stage does; otherwise the check.
bool EditorSession::runDueTimer() {
    if (mode_ != Mode::Play || !game_->runDueTimer()) return false;
    if (game_->ended()) {
        stopPlay("The test game ended");
    } else if (game_->stage() != playStage_) {
        stopPlay(playStage_ < kEditStages && game_->stage() == playStage_ + 1
                     ? "Stage " + std::to_string(playStage_) + " cleared in the test"
                     : "The test left the stage");
    }
    return true;
}

// A running check's progress is shown as it goes, and its verdict at once; the verdict is
// printed too, for the terminal the editor was started from.
void EditorSession::pollCheck() {
    const bool checking = check_.running();
    if ((checking || checkWasRunning_) && mode_ != Mode::Play) redraw_ = true;
    if (checkWasRunning_ && !checking) {
        std::printf("hopla: %s\n", check_.line().c_str());
        std::fflush(stdout);
    }
    checkWasRunning_ = checking;
}

std::optional<Duration> EditorSession::nextWake() const {
    std::optional<Duration> wake;
    if (mode_ == Mode::Play) {
        if (const std::optional<Game::DueTimer> next = game_->nextDue()) wake = next->due;
    }
    if (check_.running() || checkWasRunning_) {
        const Duration refresh = clock_.now() + (check_.running() ? kCheckRefresh : Duration{});
        wake = wake ? std::min(*wake, refresh) : refresh;
    }
    return wake;
}

Frame EditorSession::frame() {
    pollCheck();
    if (mode_ == Mode::Play && !redraw_) {
        const Rect changed = game_->takeChanged();
        if (changed.width() <= 0 || changed.height() <= 0) return {};
        return {&view_.drawPlay(game_->picture(), status()), changed, false, {}};
    }
    if (!redraw_) return {};
    return {&shown(), {}, true, {}};
}

const Image& EditorSession::shown() {
    redraw_ = false;
    if (mode_ == Mode::Play) {
        game_->takeChanged();
        return view_.drawPlay(game_->picture(), status());
    }
    return view_.draw(edit_, code_, placingStart_, status(),
                      cursorShown_ ? std::optional(cursor_) : std::nullopt);
}

StatusText EditorSession::status() const {
    StatusText s;
    if (mode_ == Mode::Play) {
        s.line1 = "Testing stage " + std::to_string(playStage_);
        s.line2 = gate_.paused() ? "Paused - P to play on. Esc: back to the editor"
                                 : "Arrows steer. P pauses. Esc: back to the editor";
        return s;
    }
    s.line1 = "Stage " + std::to_string(edit_.stage()) + "  " + edit_.table().name +
              (edit_.modified() ? " *" : "");
    const InputFamily input = host_.values().input;
    if (mode_ == Mode::Prompt) {
        s.line2 = LeavePrompt(input);
    } else if (mode_ == Mode::Menu) {
        s.line2 = std::string("< ") + kMenuItems[menuItem_] + " >  " + EditorMenuHint(input);
    } else if (mode_ == Mode::Typing) {
        s.line2 = (field_ == Field::Name ? "Name: " : "Author: ") + typed_ + "_  " +
                  PickerHint(input, std::string(kPickLetters.substr(pick_, 1)));
        if (!message_.empty()) s.line2 = message_ + ": " + s.line2;
    } else if (!message_.empty()) {
        s.line2 = message_;
    } else if (!check_.line().empty() && (check_.running() || (checkedStage_ == edit_.stage() &&
                                                               edit_.block() == checkedBlock_))) {
        s.line2 = check_.line();
    } else {
        s.line2 = EditorHint(input);
    }
    return s;
}

}  // namespace hopla
