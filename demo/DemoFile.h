// The demo file: plain text, one record a line. Reading refuses anything but a whole, valid demo.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "demo/Demo.h"
#include "toolkit/Escape.h"

namespace hopla {

// Why a demo cannot be read; what() is one line naming the file and, where there is one, the
// line: "runs/a.demo:12: key code 300 is not 0..255". The file's control bytes and broken UTF-8
// come out escaped (toolkit/Escape.h): it goes to a terminal as it is.
struct DemoError : std::runtime_error {
    explicit DemoError(std::string_view what) : std::runtime_error(Escaped(what)) {}
};

// Files larger than this are refused unread: no real demo comes near it.
inline constexpr std::uintmax_t kMaxDemoBytes = 64u << 20;

// Reads and checks the text of a whole demo (see docs/demo-format.md); `name` stands for the
// file in messages. A wrong or newer version, a bad or out-of-order line, numbers out of range,
// binary bytes, or a text without its end line (truncated) throw DemoError; nothing else is
// thrown for bad input. The runners read the file itself (shell/GameFiles.h).
Demo ParseDemo(std::string_view text, std::string_view name);

// A recording cut short (its recorder killed, the machine stopped) made a demo again: its text
// up to its last whole check line, with an end line there; the inputs after that check go. A
// demo that is whole already comes back as it is. Every line up to the cut is checked as
// ParseDemo checks it; a bad line there, or no check line at all, throws DemoError. Called by
// hopla-sim --salvage.
std::string SalvageDemo(std::string_view text, std::string_view name);

// The lines a recorder writes, each with its newline. With an origin the header is that of
// version 2, with its made line; without, that of version 1.
std::string DemoHeader(std::uint32_t seed, std::optional<int> startStage,
                       const std::optional<DemoOrigin>& origin,
                       const std::optional<DemoStages>& stages = std::nullopt);
std::string InputLine(const DemoInput& input);
std::string CheckLine(const DemoCheck& check);
std::string EndLine(std::uint64_t point, std::int64_t ms);
// A whole demo as its file holds it.
std::string FormatDemo(const Demo& demo);

}  // namespace hopla
