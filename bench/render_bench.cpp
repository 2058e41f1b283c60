// Full frames and stage builds against the memory traffic they cannot avoid.
#include <cstring>
#include <vector>

#include "BenchGame.h"
#include "stage/Render.h"
#include "toolkit/Color.h"

namespace hopla::bench {
namespace {

// A ball in the open with a moving trail, so every frame draws its four lines.
void PutBallInFlight(GameState& s) {
    for (int i = 0; i < 4; ++i) {
        s.TrailX[i] = 400 - 3 * i;
        s.TrailY[i] = 300 + 5 * i;
    }
    s.SpeedX = 3;
    s.SpeedY = 4;
    s.BallColor = 15;
}

// ScreenOn: Back to Dark, the ball's lines on Dark, Dark to Display. With `rewriteBack`, Back
// counts as rewritten in every row before each frame, so both copies move the whole picture:
// the worst case, as right after a stage build. Without, only the ball's rows changed since the
// last frame, as in play.
void RunScreenOn(benchmark::State& state, bool rewriteBack) {
    SimCore sim = MakeSim();
    GameState& s = sim.state();
    Form1& f = sim.form();
    FillEveryCell(s);
    MakeScreen(f, s);
    for (auto _ : state) {
        PutBallInFlight(s);
        if (rewriteBack) f.Back.touch(f.Back.bounds());
        ScreenOn(f, s);
        benchmark::DoNotOptimize(f.Display.image().pixels.data());
        benchmark::ClobberMemory();
    }
    if (rewriteBack)
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * kPictureBytes));
}

void BM_ScreenOn(benchmark::State& state) {
    RunScreenOn(state, true);
}
BENCHMARK(BM_ScreenOn);

void BM_ScreenOnInPlay(benchmark::State& state) {
    RunScreenOn(state, false);
}
BENCHMARK(BM_ScreenOnInPlay);

// Its floor: two memcpys of a whole picture, through three buffers as ScreenOn has them.
void BM_ScreenOnFloor(benchmark::State& state) {
    std::vector<std::uint32_t> back(kW * kH, 0x123456), dark(kW * kH), display(kW * kH);
    for (auto _ : state) {
        std::memcpy(dark.data(), back.data(), kPictureBytes);
        benchmark::ClobberMemory();
        std::memcpy(display.data(), dark.data(), kPictureBytes);
        benchmark::DoNotOptimize(display.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * kPictureBytes));
}
BENCHMARK(BM_ScreenOnFloor);

// MakeScreen of a stage with a tile in every one of its 300 cells, ending in its ScreenOn.
void BM_MakeScreenFull(benchmark::State& state) {
    SimCore sim = MakeSim();
    GameState& s = sim.state();
    Form1& f = sim.form();
    FillEveryCell(s);
    for (auto _ : state) {
        PutBallInFlight(s);
        MakeScreen(f, s);
        benchmark::DoNotOptimize(f.Display.image().pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MakeScreenFull);

// Its floor: a memset of the whole back buffer (the clear), 300 tiles of 40 rows of 160
// bytes copied from a 240 x 40 sheet into it, then ScreenOn's two whole-picture memcpys.
void BM_MakeScreenFloor(benchmark::State& state) {
    std::vector<std::uint32_t> sheet(6 * kCell * kCell, 0x808080);
    std::vector<std::uint32_t> back(kW * kH), dark(kW * kH), display(kW * kH);
    for (auto _ : state) {
        std::memset(back.data(), 0, kPictureBytes);
        benchmark::ClobberMemory();
        for (int r = 0; r < 15; ++r)
            for (int c = 0; c < 20; ++c) {
                const std::uint32_t* from = sheet.data() + ((c + r) % 6) * kCell;
                std::uint32_t* to = back.data() + (r * kCell) * kW + c * kCell;
                for (int y = 0; y < kCell; ++y)
                    std::memcpy(to + y * kW, from + y * 6 * kCell, kCell * sizeof(std::uint32_t));
            }
        benchmark::ClobberMemory();
        std::memcpy(dark.data(), back.data(), kPictureBytes);
        benchmark::ClobberMemory();
        std::memcpy(display.data(), dark.data(), kPictureBytes);
        benchmark::DoNotOptimize(display.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MakeScreenFloor);

}  // namespace
}  // namespace hopla::bench
