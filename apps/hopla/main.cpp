// The game's entry point on the desktop; --edit runs the stage editor in the game's window
// runner.
#include <cstdio>
#include <optional>
#include <string>

#include "apps/hopla/Session.h"
#include "editor/EditorSession.h"
#include "frontend/SdlHandles.h"
#include "frontend/WindowRunner.h"
#include "platform/Platform.h"

namespace hopla {
namespace {

// Reads FILE (a new one starts from the game's own stages) and runs the editor on it. Exit
// status: 0 after leaving, 2 for a file that is not a stage file (one line, no window; a message
// box too where no one reads it), 1 when the window cannot be opened or edits not saved were
// lost.
int RunEditor(const std::string& file, const AppOptions& options) {
    std::optional<StageEdit> edit;
    try {
        edit.emplace(file);
    } catch (const StageFileError& e) {
        // Said where the player looks: in a message box for a file opened with Edit from
        // Explorer.
        std::fprintf(stderr, "hopla: %s\n", e.what());
        ShowFatalError(e.what());
        return 2;
    }
    HangupEndsAsTermination();
    SdlLibrary sdl;
    try {
        WindowRunner runner("Hopla stage editor: " + edit->path(), kEditorWidth, kEditorHeight,
                            options);
        // After SDL's own handler is in place, which turns the request into its quit event.
        NoteTerminationRequests();
        EditorSession session(runner, std::move(*edit), ExecutableDir());
        runner.attach(session);
        runner.run();
        return session.exitStatus();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        ShowFatalError(e.what());
        return 1;
    }
}

}  // namespace
}  // namespace hopla

int main(int argc, char** argv) {
    return hopla::HoplaMain(argc, argv, {}, hopla::RunEditor);
}
