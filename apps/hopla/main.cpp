// The game's entry point; --edit runs the stage editor, which lives above the frontend.
#include "apps/hopla/Session.h"
#include "editor/Editor.h"

int main(int argc, char** argv) {
    return hopla::HoplaMain(argc, argv, {}, hopla::RunEditor);
}
