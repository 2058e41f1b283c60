// The best run as a split file for speed-running timers: LiveSplit's .lss, one segment a stage.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/Records.h"

namespace hopla {

// A stage's time in a split file: its ball ticks at the ball's usual pace, 30 ms a tick (the
// score counts the ticks, whatever the pace).
inline constexpr int kSplitTickMs = 30;

// The text of a LiveSplit splits file (XML) for `records`: one segment a stage, "Stage 0" to
// "Stage 20"; the personal best's split times are those of the best game (BestGame), each
// stage's best segment time its fewest ticks (BestStageTicks), both as real and as game time.
// `category` names the stages: "Any%" for the game's own, a stage file's name for its own.
// None when no game was finished yet. hopla --records --splits FILE writes it.
std::optional<std::string> LiveSplitFile(const Records& records, std::string_view category);

}  // namespace hopla
