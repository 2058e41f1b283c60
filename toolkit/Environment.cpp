// The executable's directory from /proc, and a seed from the clock.
#include "toolkit/Environment.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

namespace hopla {

std::string ExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || exe.parent_path().empty()) return "./";
    std::string dir = exe.parent_path().string();
    if (dir.back() != '/') dir += '/';
    return dir;
}

std::uint32_t ClockSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::random_device{}() ^ static_cast<std::uint32_t>(ticks) ^
           static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) >> 32);
}

}  // namespace hopla
