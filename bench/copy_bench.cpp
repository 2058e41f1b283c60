// The full-picture copy between two 800 x 600 pictures against memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "toolkit/Picture.h"

namespace hopla {
namespace {

constexpr int kW = 800, kH = 600;
constexpr std::size_t kBytes = sizeof(std::uint32_t) * kW * kH;

// The source counts as rewritten in every row before each copy (touch marks without drawing),
// so every row is moved: the worst case, as after a stage build.
void BM_PictureCopyFull(benchmark::State& state) {
    Picture src(kW, kH, 0x123456), dst(kW, kH);
    for (auto _ : state) {
        src.touch(src.bounds());
        Picture::Copy(dst, 0, 0, kW, kH, src, 0, 0);
        benchmark::DoNotOptimize(dst.image().pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_PictureCopyFull);

// The physical floor: one memcpy of the same number of bytes.
void BM_MemcpyFullPicture(benchmark::State& state) {
    std::vector<std::uint32_t> src(kW * kH, 0x123456), dst(kW * kH);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_MemcpyFullPicture);

}  // namespace
}  // namespace hopla
