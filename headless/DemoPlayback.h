// Playing a demo back on the virtual clock, as fast as the machine goes.
#pragma once

#include <functional>
#include <optional>

#include "demo/Demo.h"
#include "demo/Player.h"
#include "headless/SimCore.h"

namespace hopla {

struct PlaybackResult {
    bool finished = false;  // the demo's end was reached (false: stopped at `until`, or astray)
    std::optional<Mismatch> mismatch;
};

// Plays `demo` into `sim`, which must have been made with the demo's seed and not run yet.
// Ticks run on the virtual clock in due order; each input goes in at its point, with the
// clock moved on towards its recorded time but never past the next tick. Stops at the demo's
// end, at the first mismatch, or before the first tick due after `untilMs`. Used by
// hopla-sim --play, the corpus tests and the solver's own check of what it writes.
PlaybackResult PlayDemo(SimCore& sim, const Demo& demo, std::optional<double> untilMs = {},
                        std::function<void(const DemoCheck&, bool)> onCheck = {});

}  // namespace hopla
