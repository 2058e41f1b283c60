// The game's entry point: seeds, finds its own directory and runs the window until the end.
#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "frontend/SdlApp.h"
#include "frontend/SdlHandles.h"

namespace {

std::uint32_t ClockSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::random_device{}() ^ static_cast<std::uint32_t>(ticks) ^
           static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) >> 32);
}

// The directory of the running executable (the wave files lie beside it), with a trailing "/".
std::string ExecutableDir() {
    if (hopla::SdlText base{SDL_GetBasePath()}) return base.get();
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    return exe.parent_path().string() + "/";
}

}  // namespace

int main() {
    hopla::SdlLibrary sdl;
    try {
        hopla::SdlApp app(ClockSeed(), ExecutableDir());
        app.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        return 1;
    }
    return 0;
}
