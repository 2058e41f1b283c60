// The game's entry point: seeds, finds its own directory and runs the window until the end.
#include <SDL.h>

#include <cstdio>
#include <exception>

#include "frontend/SdlApp.h"
#include "frontend/SdlHandles.h"
#include "toolkit/Environment.h"

int main() {
    hopla::SdlLibrary sdl;
    try {
        hopla::SdlApp app(hopla::ClockSeed(), hopla::ExecutableDir());
        app.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 1;
    }
    return 0;
}
