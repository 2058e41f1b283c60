// The state of the game as a demo's check line holds it: plain numbers and content hashes.
#pragma once

#include <array>
#include <cstdint>

namespace hopla {

// Taken by Game::check between handlers. Hashes cover exact contents only (integers, the bit
// patterns of the record's reals, text bytes, pixels), so every build of the same code gives
// the same values. The record's SoundDir is left out: it names the machine's directory.
struct StateCheck {
    int stage = 0;                // StageNo
    int balls = 0;                // BallsLeft
    std::int32_t score = 0;       // Score
    std::array<int, 7> timers{};  // intervals, in the form's order (Timer1..Timer6, Etimer)
    std::uint64_t record = 0;     // the whole record but SoundDir
    std::uint64_t labels = 0;     // both labels' properties
    // Each picture: pixels, pen, colours, font, text position and background picture.
    std::uint64_t display = 0;
    std::uint64_t back = 0;
    std::uint64_t dark = 0;
    std::uint64_t chip = 0;
    std::uint64_t endChip = 0;

    bool operator==(const StateCheck&) const = default;
};

}  // namespace hopla
