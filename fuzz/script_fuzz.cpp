// Fuzzer of hopla-sim's script reader and interpreter over a fresh headless game per input.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "headless/SimCore.h"
#include "shell/GameFiles.h"
#include "tools/sim/Json.h"
#include "tools/sim/Script.h"

namespace {

// How far one input may take the game's clock: long enough for a stage start, a lost ball or
// the first steps of the ending, short enough that every input runs in well under a second.
constexpr double kTimeLimitMs = 20'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fixed seed, so that a finding replays from its input alone.
    hopla::SimCore sim(1, HOPLA_FUZZ_WAVE_DIR, hopla::WaveFileLength);
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out, err;
    hopla::ScriptRunner runner(sim, out, err);
    runner.timeLimitMs = kTimeLimitMs;
    // Nothing is written to disk; what matters is the name a file would get.
    runner.saveShot = [](const hopla::Image&, const std::string& path) {
        if (path.empty() || path.find('\0') != std::string::npos) __builtin_trap();
    };
    runner.run(script);
    // Every output line is JSON, so UTF-8 whatever the script set.
    if (!hopla::IsUtf8(out.str())) __builtin_trap();
    return 0;
}
