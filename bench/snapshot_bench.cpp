// Saving and restoring the whole game, as each step of the solver's search does: a tick of
// stage 0 in play, then a save; or back to a snapshot, then a tick.
#include <array>

#include "BenchGame.h"

namespace hopla::bench {
namespace {

// Stage 0 in play with Right held: the ball runs into the stairs and bounces.
void EnterPlay(SimCore& sim) {
    sim.startStage(0);
    while (!sim.form().Timer1.running()) sim.runFor(10);
    sim.keyDown(kVkRight);
}

void Tick(SimCore& sim) {
    sim.runNextTimer();
}

void BM_SnapshotSaveAfterTick(benchmark::State& state) {
    SimCore sim = MakeSim();
    EnterPlay(sim);
    std::array<SimCore::Snapshot, 64> kept;  // old snapshots go as new ones come
    std::size_t i = 0;
    for (auto _ : state) {
        Tick(sim);
        kept[i++ % kept.size()] = sim.save();
    }
}
BENCHMARK(BM_SnapshotSaveAfterTick);

void BM_SnapshotRestoreThenTick(benchmark::State& state) {
    SimCore sim = MakeSim();
    EnterPlay(sim);
    for (int k = 0; k < 40; ++k) Tick(sim);
    const SimCore::Snapshot saved = sim.save();
    for (auto _ : state) {
        sim.restore(saved);
        Tick(sim);
    }
}
BENCHMARK(BM_SnapshotRestoreThenTick);

// A demo's check line: the record, the labels and every picture hashed, right after a tick (the
// sheets and the pictures the tick left alone keep their hashes).
void BM_CheckAfterTick(benchmark::State& state) {
    SimCore sim = MakeSim();
    EnterPlay(sim);
    for (auto _ : state) {
        Tick(sim);
        benchmark::DoNotOptimize(sim.game().check());
    }
}
BENCHMARK(BM_CheckAfterTick);

}  // namespace
}  // namespace hopla::bench
