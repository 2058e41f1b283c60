// Helpers for the sequence tests: handler and click timelines, set-ups, expected text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "headless/SimCore.h"
#include "support/SoundLog.h"

namespace hopla::testing {

// Every handler run, with its virtual time in ms.
struct HandlerRun {
    double t;
    std::string name;
};

class HandlerLog {
  public:
    explicit HandlerLog(SimCore& sim)
        : observation_(sim.game().observe([this, &sim](std::string_view name) {
              runs_.push_back({sim.nowMs(), std::string(name)});
          })) {}
    // Times at which the named handler ran, from `from` on.
    std::vector<double> times(std::string_view name, double from = 0) const {
        std::vector<double> t;
        for (const HandlerRun& r : runs_)
            if (r.name == name && r.t >= from) t.push_back(r.t);
        return t;
    }

  private:
    std::vector<HandlerRun> runs_;
    ObserverHandle observation_;
};

// Times of the clicks ("keri.wav" without waiting) in the log, in ms.
inline std::vector<double> ClickTimes(const SoundLog& sounds, double from = 0) {
    std::vector<double> t;
    for (const RecordingSound::Call& c : sounds.calls()) {
        const double at = SimCore::ToMs(c.at);
        if (c.path && !c.wait && c.path->ends_with("/keri.wav") && at >= from) t.push_back(at);
    }
    return t;
}

// Stops every timer, as the starters of the sequences do for the ones they replace.
inline void StopAllTimers(Form1& f) {
    for (Timer Form1::*t : Form1::kTimers) (f.*t).setInterval(0);
}

// What a starter of the stage introduction leaves: Tick 0, BallState, Timer4 at 5 ms (the
// interval for BallInterval 30).
inline void StartIntroduction(SimCore& sim, int ballState) {
    StopAllTimers(sim.form());
    sim.state().Tick = 0;
    sim.state().BallState = ballState;
    sim.form().Timer4.setInterval(5);
}

// What leaving stage 20 leaves: StageNo 21, the counters at 0, only Etimer running (2500 ms).
inline void StartEnding(SimCore& sim) {
    StopAllTimers(sim.form());
    GameState& s = sim.state();
    s.StageNo = 21;
    s.BallState = 0;
    s.LoopX = 0;
    s.Tick = 0;
    s.EndPhase = 0;
    sim.form().Etimer.setInterval(2500);
}

// `under` with `text` drawn at (x, y) in a font and colour, through the picture's renderer.
inline Image WithText(Image under, const Picture& on, int x, int y, std::string_view text,
                      const Font& font, Color color) {
    on.textRenderer()->draw(under, {0, 0, under.width, under.height}, x, y, text, font, color);
    return under;
}

// The same in the picture's own print settings.
inline Image WithPrint(Image under, const Picture& on, int x, int y, std::string_view text) {
    return WithText(std::move(under), on, x, y, text, on.font(), on.foreColor());
}

// Compares the rows [top, bottom) of two images; reports the first differing pixel.
inline ::testing::AssertionResult SameRows(const Image& got, const Image& want, int top,
                                           int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < got.width; ++x)
            if (got.at(x, y) != want.at(x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << got.at(x, y)
                       << ", expected " << want.at(x, y);
    return ::testing::AssertionSuccess();
}

}  // namespace hopla::testing
