// Presenting the picture at a whole-number scale, and fitted to a 1080p whole screen: the
// enlargement into the window's pixels against a memcpy of the enlarged bytes, for a whole frame
// and for a tick's band of rows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "shell/Scaling.h"

namespace hopla {
namespace {

constexpr int kW = 800, kH = 600;
// A tick in play changes the rows of the ball's trail: a band this high, full width at worst.
constexpr int kBandRows = 40;

// A window surface for the picture at `scale`, rows padded as SDL pads them (to 4 bytes, here
// already whole pixels).
struct Target {
    explicit Target(int scale)
        : pitch(static_cast<std::size_t>(kW * scale) * 4),
          pixels(pitch * static_cast<std::size_t>(kH * scale)) {}
    std::size_t pitch;
    std::vector<std::uint8_t> pixels;
};

std::vector<std::uint32_t> Picture() {
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(kW) * kH);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    return picture;
}

void Present(benchmark::State& state, int rows) {
    const int scale = static_cast<int>(state.range(0));
    const std::vector<std::uint32_t> picture = Picture();
    Target target(scale);
    const int top = (kH - rows) / 2;
    for (auto _ : state) {
        ScaleBlock(reinterpret_cast<const std::uint8_t*>(picture.data() + top * kW),
                   kW * sizeof(std::uint32_t), kW, rows, 4, scale,
                   target.pixels.data() + top * scale * target.pitch, target.pitch);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rows * scale *
                            static_cast<std::int64_t>(target.pitch));
}

// The whole 800 x 600 picture into the window at scale N.
void BM_PresentFrame(benchmark::State& state) {
    Present(state, kH);
}
BENCHMARK(BM_PresentFrame)->Arg(1)->Arg(2)->Arg(3);

// A tick's band of rows only.
void BM_PresentRows(benchmark::State& state) {
    Present(state, kBandRows);
}
BENCHMARK(BM_PresentRows)->Arg(1)->Arg(2)->Arg(3);

// The floor: one memcpy of the enlarged picture's bytes.
void BM_MemcpyScaledFrame(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    Target from(scale), to(scale);
    for (auto _ : state) {
        std::memcpy(to.pixels.data(), from.pixels.data(), to.pixels.size());
        benchmark::DoNotOptimize(to.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * to.pixels.size()));
}
BENCHMARK(BM_MemcpyScaledFrame)->Arg(1)->Arg(2)->Arg(3);

// Fitted to a 1920 x 1080 whole screen: 1440 x 1080, the whole frame (Arg 0) or a tick's band of
// rows (Arg 1), through the same output area the window presents.
void BM_PresentFit(benchmark::State& state) {
    const std::vector<std::uint32_t> picture = Picture();
    const FitScaler fit(kW, kH, 1440, 1080);
    std::vector<std::uint32_t> out(1440 * 1080);
    const int top = (kH - kBandRows) / 2;
    const Rect area = state.range(0) == 0 ? Rect{0, 0, 1440, 1080}
                                          : fit.outputOf(Rect{0, top, kW, top + kBandRows});
    for (auto _ : state) {
        fit.scale(picture.data(), kW, area, out.data(), 1440);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * area.width() *
                            area.height() * 4);
}
BENCHMARK(BM_PresentFit)->Arg(0)->Arg(1);

// Its floor: one memcpy of 1440 x 1080 pixels.
void BM_MemcpyFitFrame(benchmark::State& state) {
    std::vector<std::uint32_t> from(1440 * 1080), to(1440 * 1080);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFitFrame);

}  // namespace
}  // namespace hopla
