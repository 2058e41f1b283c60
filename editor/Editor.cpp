// The editor's loop: events to the document or the test game, the check's progress, the window.
#include "editor/Editor.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "frontend/EventWait.h"
#include "frontend/KeyCodes.h"
#include "platform/Platform.h"
#include "shell/Options.h"
#include "toolkit/Environment.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

namespace hopla {
namespace {

constexpr auto kCheckRefresh = std::chrono::milliseconds(200);
constexpr int kEscape = 27;

int StartScale(const AppOptions& options) {
    if (options.settings.scale) return *options.settings.scale;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return kMinScale;
    return LargestScale(usable.w, usable.h, kEditorWidth, kEditorHeight, kMaxScale);
}

std::string Title(const std::string& path) {
    return "Hopla stage editor: " + path;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

Editor::Editor(StageEdit edit, const AppOptions& options, std::string exeDir)
    : video_(SDL_INIT_VIDEO),
      screen_(video_, Title(edit.path()), kEditorWidth, kEditorHeight, StartScale(options),
              options.settings.fullscreen),
      sound_(!options.mute),
      view_(viewClock_, text_),
      edit_(std::move(edit)),
      exeDir_(std::move(exeDir)) {
    SDL_StopTextInput();
    NoteTerminationRequests();
    std::error_code error;
    if (std::filesystem::exists(PathFromUtf8(edit_.recoveryPath()), error)) {
        message_ = "Edits not saved last time are in " + edit_.recoveryPath();
        std::fprintf(stderr, "hopla: %s\n", Escaped(message_).c_str());
    }
    screen_.show();
}

int Editor::run() {
    while (!quit_) {
        if (mode_ == Mode::Play) {
            while (game_ && !game_->ended() && game_->runDueTimer()) {
                if (game_->stage() != playStage_) break;
            }
            if (game_->ended()) {
                stopPlay("The test game ended");
            } else if (game_->stage() != playStage_) {
                stopPlay(playStage_ < kEditStages && game_->stage() == playStage_ + 1
                             ? "Stage " + std::to_string(playStage_) + " cleared in the test"
                             : "The test left the stage");
            }
        }
        if (redraw_ || mode_ == Mode::Play) present();
        std::optional<SteadyTime> deadline;
        if (mode_ == Mode::Play && game_) {
            if (const std::optional<Game::DueTimer> next = game_->nextDue())
                deadline = std::chrono::steady_clock::now() + (next->due - playClock_->now());
        }
        // A running check's progress is shown as it goes, and its verdict at once.
        const bool checking = check_.running();
        if (checking || checkWasRunning_) {
            redraw_ = true;
            const SteadyTime refresh = std::chrono::steady_clock::now() +
                                       (checking ? kCheckRefresh : SteadyTime::duration{});
            deadline = deadline ? std::min(*deadline, refresh) : refresh;
        }
        // The verdict is printed too, for the terminal the editor was started from.
        if (checkWasRunning_ && !checking) {
            std::printf("hopla: %s\n", check_.line().c_str());
            std::fflush(stdout);
        }
        checkWasRunning_ = checking;
        if (const std::optional<SDL_Event> e = WaitForEvent(deadline)) event(*e);
        SDL_Event more;
        while (!quit_ && SDL_PollEvent(&more) == 1) event(more);
    }
    return exitStatus_;
}

void Editor::event(const SDL_Event& e) {
    if (e.type == SDL_WINDOWEVENT) {
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            redraw_ = true;
        return;
    }
    if (e.type == SDL_QUIT) {
        if (mode_ == Mode::Play) stopPlay("");
        if (mode_ == Mode::Typing) endTyping(false);
        if (TerminationRequested()) return endNow();
        leave();
        return;
    }
    switch (mode_) {
        case Mode::Play:
            return playEvent(e);
        case Mode::Prompt:
            if (e.type == SDL_KEYDOWN) promptKey(e.key.keysym.sym);
            return;
        case Mode::Typing:
            return typingEvent(e);
        case Mode::Edit:
            break;
    }
    switch (e.type) {
        case SDL_KEYDOWN:
            editKey(e.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const Uint32 buttons = e.button.button == SDL_BUTTON_LEFT    ? SDL_BUTTON_LMASK
                                   : e.button.button == SDL_BUTTON_RIGHT ? SDL_BUTTON_RMASK
                                                                         : 0;
            if (buttons) mouse(e.button.x, e.button.y, buttons, e.type == SDL_MOUSEBUTTONDOWN);
            break;
        }
        case SDL_MOUSEMOTION:
            if (strokeButton_ && (e.motion.state & strokeButton_))
                mouse(e.motion.x, e.motion.y, strokeButton_, true);
            break;
        default:
            break;
    }
}

void Editor::editKey(const SDL_KeyboardEvent& key) {
    const SDL_Keycode k = key.keysym.sym;
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    redraw_ = true;
    if (ctrl && k == SDLK_z) {
        message_ = edit_.undo() ? "Undone" : "Nothing to undo";
    } else if (ctrl && k == SDLK_y) {
        message_ = edit_.redo() ? "Redone" : "Nothing to redo";
    } else if (ctrl && k == SDLK_s) {
        save();
    } else if (ctrl) {
        return;
    } else if (k >= SDLK_0 && k <= SDLK_6) {
        code_ = static_cast<int>(k - SDLK_0);
        placingStart_ = false;
    } else if (k >= SDLK_KP_1 && k <= SDLK_KP_6) {
        code_ = static_cast<int>(k - SDLK_KP_1) + 1;
        placingStart_ = false;
    } else if (k == SDLK_KP_0) {
        code_ = 0;
        placingStart_ = false;
    } else if (k == SDLK_s) {
        placingStart_ = true;
        message_ = "Click where the ball starts";
    } else if (k == SDLK_PAGEUP || k == SDLK_PAGEDOWN) {
        edit_.turnPage(k == SDLK_PAGEUP ? 1 : -1);
        placingStart_ = false;
        message_.clear();
    } else if (k == SDLK_n || k == SDLK_a) {
        beginTyping(k == SDLK_n ? Field::Name : Field::Author);
    } else if (k == SDLK_t) {
        startPlay();
    } else if (k == SDLK_c) {
        if (!check_.start(edit_.table(), edit_.stage())) {
            message_ = "A check is running already";
        } else {
            message_.clear();
            checkedStage_ = edit_.stage();
            checkedBlock_ = edit_.block();
        }
    } else if (k == SDLK_ESCAPE) {
        if (placingStart_) {
            placingStart_ = false;
            message_.clear();
        } else {
            leave();
        }
    }
}

void Editor::promptKey(SDL_Keycode key) {
    redraw_ = true;
    if (key == SDLK_y) {
        mode_ = Mode::Edit;
        if (save()) quit_ = true;
    } else if (key == SDLK_n) {
        quit_ = true;
    } else if (key == SDLK_ESCAPE) {
        mode_ = Mode::Edit;
        message_.clear();
    }
}

void Editor::beginTyping(Field field) {
    field_ = field;
    typed_ = field == Field::Name ? edit_.table().name : edit_.table().author;
    placingStart_ = false;
    message_.clear();
    mode_ = Mode::Typing;
    SDL_StartTextInput();
}

void Editor::typingEvent(const SDL_Event& e) {
    redraw_ = true;
    if (e.type == SDL_TEXTINPUT) {
        message_.clear();
        const std::string more = e.text.text;
        if (Utf8Characters(typed_) + Utf8Characters(more) <= kMaxStageNameLength) typed_ += more;
        return;
    }
    if (e.type != SDL_KEYDOWN) return;
    const SDL_Keycode k = e.key.keysym.sym;
    if (k == SDLK_BACKSPACE && !typed_.empty()) {
        std::size_t last = typed_.size() - 1;  // back over the last character's continuation bytes
        while (last > 0 && (static_cast<unsigned char>(typed_[last]) & 0xC0) == 0x80) --last;
        typed_.erase(last);
    } else if (k == SDLK_RETURN || k == SDLK_KP_ENTER) {
        endTyping(true);
    } else if (k == SDLK_ESCAPE) {
        endTyping(false);
    }
}

void Editor::endTyping(bool keep) {
    if (keep) {
        const std::string text = Trimmed(typed_);
        if (field_ == Field::Name && text.empty()) {
            message_ = "A stage file needs a name";
            return;
        }
        edit_.setLabels(field_ == Field::Name ? text : edit_.table().name,
                        field_ == Field::Author ? text : edit_.table().author);
    }
    SDL_StopTextInput();
    mode_ = Mode::Edit;
    message_.clear();
    redraw_ = true;
}

// Made to end (a termination request, a hangup): no one is there to answer the prompt, so the
// edits not saved go to the recovery file beside the stage file, and the editor ends at once.
void Editor::endNow() {
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

void Editor::leave() {
    if (!edit_.modified()) {
        quit_ = true;
        return;
    }
    mode_ = Mode::Prompt;
    redraw_ = true;
}

bool Editor::save() {
    try {
        edit_.save();
        message_ = "Saved " + edit_.path();
        return true;
    } catch (const StageFileError& e) {
        message_ = e.what();
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return false;
    }
}

void Editor::mouse(int windowX, int windowY, Uint32 button, bool pressed) {
    const Layout& l = screen_.layout();
    const int x = (windowX - l.x) / std::max(1, l.scale);
    const int y = (windowY - l.y) / std::max(1, l.scale);
    redraw_ = true;
    if (!pressed) {
        if (strokeButton_ == static_cast<int>(button)) {
            edit_.endStroke();
            strokeButton_ = 0;
        }
        return;
    }
    if (!strokeButton_) {
        if (const std::optional<int> code = PaletteCodeAt(x, y);
            code && button == SDL_BUTTON_LMASK) {
            code_ = *code;
            placingStart_ = false;
            return;
        }
        if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return;
        if (placingStart_ && button == SDL_BUTTON_LMASK) {
            placingStart_ = false;
            message_ = edit_.placeStart(x, y) ? "Start point placed"
                                              : "The ball starts inside the outer cells";
            return;
        }
        strokeButton_ = static_cast<int>(button);
        edit_.beginStroke();
        message_.clear();
    }
    edit_.paint(std::clamp(x, 0, kScreenWidth - 1) / kTileSize,
                std::clamp(y, 0, kScreenHeight - 1) / kTileSize,
                strokeButton_ == SDL_BUTTON_RMASK ? 0 : code_);
}

void Editor::startPlay() {
    if (strokeButton_) {
        edit_.endStroke();
        strokeButton_ = 0;
    }
    playClock_ = std::make_unique<RealClock>();
    game_ = std::make_unique<Game>(*playClock_, sound_, &text_, ClockSeed(), exeDir_);
    game_->applyStages(edit_.table());
    playStage_ = edit_.stage();
    game_->startStage(playStage_);
    mode_ = Mode::Play;
    message_.clear();
    screen_.presentAll(view_.drawPlay(game_->picture(), status()));
}

void Editor::stopPlay(std::string message) {
    game_.reset();
    playClock_.reset();
    sound_.stop(false);
    mode_ = Mode::Edit;
    message_ = std::move(message);
    redraw_ = true;
}

void Editor::playEvent(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) {
        stopPlay("");
        return;
    }
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
        const std::optional<int> vk = VirtualKeyFromSdl(e.key.keysym.sym);
        if (!vk || *vk == kEscape) return;
        if (e.type == SDL_KEYDOWN)
            game_->keyDown(*vk);
        else
            game_->keyUp(*vk);
    } else if (e.type == SDL_MOUSEBUTTONDOWN) {
        if (const std::optional<int> button = MouseButtonFromSdl(e.button.button))
            game_->mouseDown(*button);
    }
}

void Editor::present() {
    redraw_ = false;
    if (mode_ == Mode::Play) {
        const Rect changed = game_->takeChanged();
        if (changed.width() <= 0 || changed.height() <= 0) return;
        screen_.present(view_.drawPlay(game_->picture(), status()), changed);
        return;
    }
    screen_.presentAll(view_.draw(edit_, code_, placingStart_, status()));
}

StatusText Editor::status() const {
    StatusText s;
    if (mode_ == Mode::Play) {
        s.line1 = "Testing stage " + std::to_string(playStage_);
        s.line2 = "Arrows steer. Esc: back to the editor";
        return s;
    }
    s.line1 = "Stage " + std::to_string(edit_.stage()) + "  " + edit_.table().name +
              (edit_.modified() ? " *" : "");
    if (mode_ == Mode::Prompt) {
        s.line2 = "Save changes? Y/N/Esc";
    } else if (mode_ == Mode::Typing) {
        s.line2 = (field_ == Field::Name ? "Name: " : "Author: ") + typed_ +
                  "_  Enter: keep  Esc: cancel";
        if (!message_.empty()) s.line2 = message_ + ": " + s.line2;
    } else if (!message_.empty()) {
        s.line2 = message_;
    } else if (!check_.line().empty() && (check_.running() || (checkedStage_ == edit_.stage() &&
                                                               edit_.block() == checkedBlock_))) {
        s.line2 = check_.line();
    } else {
        s.line2 = "PgUp/PgDn stage  S start  T test  C check  Ctrl+S save";
    }
    return s;
}

int RunEditor(const std::string& file, const AppOptions& options) {
    std::optional<StageEdit> edit;
    try {
        edit.emplace(file);
    } catch (const StageFileError& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 2;
    }
    HangupEndsAsTermination();
    SdlLibrary sdl;
    try {
        Editor editor(std::move(*edit), options, ExecutableDir());
        return editor.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 1;
    }
}

}  // namespace hopla
