// The ball tick: in free flight (two lines, two probes) and with a landing that presents a frame.
#include <algorithm>
#include <vector>

#include "BenchGame.h"
#include "play/BallTick.h"
#include "stage/Render.h"
#include "toolkit/Color.h"
#include "toolkit/Rounding.h"

namespace hopla::bench {
namespace {

// The ball in mid-air in the middle of the window, rising to the right with Right held; the
// gravity and drive of the tick leave SpeedX 4 and SpeedY 2.5.
struct Flight {
    double x[4] = {400, 397, 394, 391};
    double y[4] = {300, 305, 310, 315};
    float speedX = 3;
    double speedY = 4;

    void putInto(GameState& s) const {
        std::copy(x, x + 4, s.TrailX.begin());
        std::copy(y, y + 4, s.TrailY.begin());
        s.SpeedX = speedX;
        s.SpeedY = speedY;
    }
};

// Timer1 without contact: every iteration starts from the same point of the same flight on an
// empty black Display, so it draws the same two lines and probes the same two free pixels.
void BM_Timer1Free(benchmark::State& state) {
    SimCore sim = MakeSim();
    GameState& s = sim.state();
    Form1& f = sim.form();
    f.Display.fillRect(f.Display.bounds(), kBlack);
    s.StageNo = 0;
    s.BallColor = 15;
    s.HeldKey = kVkRight;
    const Flight flight;
    for (auto _ : state) {
        flight.putInto(s);
        Timer1_Timer(f, s);
        benchmark::DoNotOptimize(s.TrailY[0]);
    }
    // A contact would have turned the speed round or moved the ball by a bounce.
    if (s.SpeedY != 2.5 || s.SpeedX != 4 || s.TrailY[0] != 300 - 1.8 * 2.5)
        state.SkipWithError("the ball touched something");
}
BENCHMARK(BM_Timer1Free);

// Its floor: writing the pixels the two 3-pixel-wide segments cover (each segment's bounding
// box widened by the pen, row by row) and reading the two probe pixels.
void BM_Timer1FreeFloor(benchmark::State& state) {
    std::vector<std::uint32_t> display(kW * kH, 0);
    struct Box {
        int left, top, right, bottom;  // inclusive
    };
    auto widened = [](double x1, double y1, double x2, double y2) {
        const int a = RoundHalfEven(x1), b = RoundHalfEven(y1), c = RoundHalfEven(x2),
                  d = RoundHalfEven(y2);
        return Box{std::min(a, c) - 1, std::min(b, d) - 1, std::max(a, c) + 1, std::max(b, d) + 1};
    };
    // The same segments as the free tick: (400,300)-(404,295.5) in white, (397,305)-(394,310)
    // in black.
    const Box boxes[2] = {widened(400, 300, 404, 295.5), widened(397, 305, 394, 310)};
    const std::uint32_t colors[2] = {0xFFFFFF, 0};
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i)
            for (int y = boxes[i].top; y <= boxes[i].bottom; ++y)
                std::fill_n(display.data() + y * kW + boxes[i].left,
                            boxes[i].right - boxes[i].left + 1, colors[i]);
        benchmark::DoNotOptimize(display[291 * kW + 404]);
        benchmark::DoNotOptimize(display[296 * kW + 412]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Timer1FreeFloor);

// Timer1 with a landing on a wall: the bounce, "junp.wav" and a full frame through ScreenOn.
void BM_Timer1Landing(benchmark::State& state) {
    SimCore sim = MakeSim();
    GameState& s = sim.state();
    Form1& f = sim.form();
    FloorOnly(s);
    s.StageNo = 0;
    s.BallColor = 15;
    s.HeldKey = 0;
    MakeScreen(f, s);
    // Falling at 5 (after gravity) from 545: the probe 10 pixels below lands in the floor.
    Flight fall;
    for (int i = 0; i < 4; ++i) {
        fall.x[i] = 400;
        fall.y[i] = 545 - 6 * i;
    }
    fall.speedX = 0;
    fall.speedY = -3.5;
    for (auto _ : state) {
        fall.putInto(s);
        Timer1_Timer(f, s);
        benchmark::DoNotOptimize(f.Display.image().pixels.data());
    }
    if (s.SpeedY != 8) state.SkipWithError("the ball did not land");
}
BENCHMARK(BM_Timer1Landing);

}  // namespace
}  // namespace hopla::bench
