// The stage editor as the window's client: its modes (painting, placing the start, typing the
// file's name and author, the leave prompt, its menu, test play in the real game) fed the
// shell's inputs, from the keyboard and the pointer or from a controller alone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "editor/EditorView.h"
#include "editor/StageCheck.h"
#include "editor/StageEdit.h"
#include "shell/PauseGate.h"
#include "shell/WindowClient.h"

namespace hopla {

// hopla --edit FILE in the window's runner, which ends when the player has left (after the
// prompt, when there were unsaved changes) or the editor was made to end.
class EditorSession final : public WindowClient {
  public:
    // `host` gives the sound, the text and the window; `exeDir` is where the game's files are,
    // for test play.
    EditorSession(WindowHost& host, StageEdit edit, std::string exeDir);
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    enum class Mode { Edit, Prompt, Play, Typing, Menu };
    Mode mode() const { return mode_; }
    const StageEdit& edit() const { return edit_; }
    // The tile painted with the left button, and what the strip says.
    int code() const { return code_; }
    StatusText status() const;
    // 0 after leaving; 1 when edits not saved could not be kept when made to end.
    int exitStatus() const { return exitStatus_; }

    // WindowClient
    int width() const override { return kEditorWidth; }
    int height() const override { return kEditorHeight; }
    RealClock& clock() override { return clock_; }
    bool ended() const override { return quit_; }
    bool paused() const override { return gate_.paused(); }
    void input(const Routed& input) override;
    bool pointer(const PointerInput& pointer) override;
    void text(std::string_view typed) override;
    void close() override;
    void away(bool away) override;
    void valuesChanged() override { redraw_ = true; }
    void feed() override {}
    bool runDueTimer() override;
    std::optional<Duration> nextWake() const override;
    Frame frame() override;
    const Image& shown() override;
    const Image& screenshot() override { return shown(); }

  private:
    enum class Field { Name, Author };
    void editKey(const Routed& key);
    // A controller's or the arrow keys' move of the cell cursor, paint, empty, start, page.
    bool cursorInput(const Routed& input);
    void paintAtCursor(int code);
    void menuInput(const Routed& input);
    void choose(int item);
    void promptInput(const Routed& input);
    void typingInput(const Routed& input);
    void playInput(const Routed& input);
    void beginTyping(Field field);
    void endTyping(bool keep);
    void startPlay();
    void stopPlay(std::string message);
    void togglePause();
    void setPaused(PauseReason reason, bool paused);
    void startCheck();
    // After the check's state may have changed: drawn again, and its verdict printed once.
    void pollCheck();
    bool save();
    void leave();
    void endNow();

    WindowHost& host_;
    RealClock clock_;
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
    CellCursor cursor_;
    bool cursorShown_ = false;  // since the cursor was first moved
    int menuItem_ = 0;          // the editor's menu (Start): the item shown
    std::size_t pick_ = 0;      // the letter picker: the letter shown
    // Test play: a game of its own with the edited stages, paused as the game is.
    std::unique_ptr<Game> game_;
    int playStage_ = 0;
    PauseGate gate_;
};

}  // namespace hopla
