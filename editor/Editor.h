// The stage editor in the game's window: painting tiles, the start point, pages of stages,
// undo and redo, saving, test play in the real game, and the solver's check.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>

#include "app/Game.h"
#include "editor/EditorView.h"
#include "editor/StageCheck.h"
#include "editor/StageEdit.h"
#include "frontend/Screen.h"
#include "frontend/SdlApp.h"
#include "frontend/SdlHandles.h"
#include "frontend/SdlSound.h"
#include "shell/RealClock.h"
#include "toolkit/text/TtfText.h"

namespace hopla {

// hopla --edit FILE: made by RunEditor once the file has been read; run() returns when the
// player has left (after the prompt, when there were unsaved changes) and says the exit status.
class Editor {
  public:
    // Throws std::runtime_error when there is no display to open the window on.
    Editor(StageEdit edit, const AppOptions& options, std::string exeDir);
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;
    int run();

  private:
    enum class Mode { Edit, Prompt, Play, Typing };
    enum class Field { Name, Author };
    void event(const SDL_Event& e);
    void editKey(const SDL_KeyboardEvent& key);
    void promptKey(SDL_Keycode key);
    void beginTyping(Field field);
    void typingEvent(const SDL_Event& e);
    void endTyping(bool keep);
    void playEvent(const SDL_Event& e);
    void mouse(int windowX, int windowY, Uint32 buttons, bool pressed);
    void startPlay();
    void stopPlay(std::string message);
    bool save();
    void leave();
    void endNow();
    void present();
    StatusText status() const;

    SdlSubsystem video_;
    Screen screen_;
    SdlSound sound_;
    TtfText text_;
    RealClock viewClock_;
    EditorView view_;
    StageEdit edit_;
    std::string exeDir_;
    StageCheck check_;
    Mode mode_ = Mode::Edit;
    int code_ = 1;               // the tile painted with the left button
    bool placingStart_ = false;  // S was pressed: the next click places the start point
    int strokeButton_ = 0;       // the button of the stroke being painted, 0 when none
    std::string message_;
    Field field_ = Field::Name;  // what N or A is typing
    std::string typed_;          // the text typed so far
    bool quit_ = false;
    int exitStatus_ = 0;
    bool redraw_ = true;
    bool checkWasRunning_ = false;
    // The stage last checked as it was then: its verdict is shown only while it stays so.
    int checkedStage_ = -1;
    StageBlock checkedBlock_;
    // Test play: a game of its own with the edited stages, on its own clock.
    std::unique_ptr<RealClock> playClock_;
    std::unique_ptr<Game> game_;
    int playStage_ = 0;
};

// Reads FILE (a new one starts from the game's own stages) and runs the editor on it. Exit
// status: 0 after leaving, 2 for a file that is not a stage file (one line, no window), 1 when
// the window cannot be opened. Given to HoplaMain by hopla's main.
int RunEditor(const std::string& file, const AppOptions& options);

}  // namespace hopla
