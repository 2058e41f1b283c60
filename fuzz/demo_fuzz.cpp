// Fuzzer of the demo reader and of the salvage of a cut recording: any bytes give a demo or one
// DemoError, nothing else; a demo read writes back as the same demo, and a salvage reads.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "demo/DemoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<hopla::Demo> demo;
    std::optional<std::string> kept;
    try {
        demo = hopla::ParseDemo(text, "fuzz.demo");
    } catch (const hopla::DemoError&) {
    }
    try {
        kept = hopla::SalvageDemo(text, "fuzz.demo");
    } catch (const hopla::DemoError&) {
    }
    // Outside the handlers: a DemoError here escapes and stops the fuzzer.
    if (demo && !(hopla::ParseDemo(hopla::FormatDemo(*demo), "again.demo") == *demo))
        __builtin_trap();
    if (demo && kept != std::string(text)) __builtin_trap();  // a whole demo is kept as it is
    if (kept) hopla::ParseDemo(*kept, "kept.demo");
    return 0;
}
