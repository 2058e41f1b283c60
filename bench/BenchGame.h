// Set-ups shared by the benchmarks: a headless game and playfields to time the drawing on.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "form/Form1.h"
#include "form/GameState.h"
#include "headless/SimCore.h"
#include "shell/GameFiles.h"

namespace hopla::bench {

inline constexpr int kW = kScreenWidth, kH = kScreenHeight;
inline constexpr std::size_t kPictureBytes = sizeof(std::uint32_t) * kW * kH;
inline constexpr int kCell = kTileSize;

// A game just past start-up on the virtual clock, its wave files beside the benchmarks.
inline SimCore MakeSim() {
    return SimCore(7, HOPLA_BUILD_DIR, WaveFileLength);
}

// Fills every one of the 300 cells with a tile (codes 1..6 in turn): the most a stage build
// can copy.
inline void FillEveryCell(GameState& s) {
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r) s.TileGrid[c][r] = static_cast<std::int16_t>((c + r) % 6 + 1);
}

// An empty playfield with a floor of walls along the bottom row.
inline void FloorOnly(GameState& s) {
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r) s.TileGrid[c][r] = r == 14 ? 1 : 0;
}

}  // namespace hopla::bench
