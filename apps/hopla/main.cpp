// The game's entry point; --edit runs the stage editor, which lives above the frontend.
#include <cstdio>
#include <string>

#include "apps/hopla/Session.h"
#include "editor/Editor.h"
#include "editor/StageEdit.h"
#include "platform/Platform.h"

namespace {

// A file that is no stage file ends hopla before the window, said where the player looks (in a
// message box for one opened with Edit from Explorer).
int Edit(const std::string& file, const hopla::AppOptions& window) {
    try {
        hopla::StageEdit probe(file);
    } catch (const hopla::StageFileError& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        hopla::ShowFatalError(e.what());
        return 2;
    }
    return hopla::RunEditor(file, window);
}

}  // namespace

int main(int argc, char** argv) {
    return hopla::HoplaMain(argc, argv, {}, Edit);
}
