// The state line of hopla-sim: the record, the timers' intervals and the labels as JSON.
#pragma once

#include <string>
#include <string_view>

#include "form/Form1.h"
#include "form/GameState.h"

namespace hopla {

// One JSON object (no newline): "t" in ms, "event" when given, every variable of the record
// (the big arrays only when `full`), "timers" and "labels".
std::string StateLine(double ms, const Form1& form, const GameState& state, bool full,
                      std::string_view event = {});

}  // namespace hopla
