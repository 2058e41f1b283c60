// The one list of the game state record's variables: each one's name, the values the game gives
// it and whether a demo's check covers it, in the record's own order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <tuple>

#include "form/GameState.h"
#include "form/Playfield.h"
#include "toolkit/Color.h"

namespace hopla {

// The values a variable may hold: numbers min..max; texts UTF-8 without NUL, at most max bytes.
struct Range {
    double min;
    double max;
};

// What the list says of one variable (every entry of an array alike).
struct FieldInfo {
    std::string_view name;
    // The values the game itself gives it, with a margin where play moves them. Anything outside
    // is a record the game could never produce: an index past one of the record's arrays, or a
    // sum past int.
    Range range;
    // What the record may hold after play: `range`, but wider for the ball's trail.
    Range held;
    // How many entries of its first index the game uses (the trail uses 4 of its 10), or
    // SIZE_MAX.
    std::size_t used;
    // Whether a demo's check covers it: not SoundDir, which names the machine's directory.
    bool checked;
};

namespace fields {

// The ball moves in the 800 x 600 playfield and is never more than a few speeds outside it
// before it leaves the stage, is lost or is pushed back by the solid edge; the margin is the
// playfield's size either way.
inline constexpr Range kX{-kScreenWidth, 2 * kScreenWidth};
inline constexpr Range kY{-kScreenHeight, 2 * kScreenHeight};
// Play can take the ball further, and the record may hold any finite position: the ending's
// ball takes the arrows like the ball in play and, steered left, never reaches the right edge
// the messages wait for; a ball that climbs a wall out over the top of the window (reading
// outside the picture as solid) climbs on until Space. Every conversion of a coordinate to
// whole pixels clamps it, so none of this goes wrong.
inline constexpr Range kFinite{-std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::max()};
// Speeds reach 30 (a launched flight), 16 (a spring) and -12.5 (the fall).
inline constexpr Range kSpeed{-40, 40};
// 32-bit colours as Display's point reads them: -1 outside the picture.
inline constexpr Range kColour{kNoPixel, kWhite};
// Texts: the longest the game writes is 27 bytes; SoundDir is a directory's path.
inline constexpr Range kText{0, 256};
inline constexpr Range kPath{0, 4096};
// The longest stage time, 32767 ticks, in each of the 22 stages summed, and 9 balls lost.
inline constexpr Range kScore{0, kStageCount*(32767 / 10) + 9 * 30};
// The middle of a grid cell (columns 0..24, rows 0..19), or 0 before a launcher first catches
// the ball.
inline constexpr Range kLauncherX{0, kTileSize * 24 + kTileSize / 2};
inline constexpr Range kLauncherY{0, kTileSize * 19 + kTileSize / 2};

// A variable that holds after play what the game gives it, every entry used, in the check.
constexpr FieldInfo Field(std::string_view name, Range range) {
    return {name, range, range, SIZE_MAX, true};
}
// The ball's trail: `used` entries, any finite value after play.
constexpr FieldInfo Trail(std::string_view name, Range range, std::size_t used) {
    return {name, range, kFinite, used, true};
}
// A variable of the machine the game runs on, not of the game: left out of the check.
constexpr FieldInfo Local(std::string_view name, Range range) {
    return {name, range, range, SIZE_MAX, false};
}

}  // namespace fields

// Calls v(FieldInfo, member) for every variable of `s` (a GameState, const or not), in the
// record's order. Called by the demo check's hash (which must keep this order and these
// variables for the recorded demos to play back), hopla-sim's name table, and the tests.
template <typename State, typename Visitor>
void VisitFields(State& s, Visitor&& v) {
    using namespace fields;
    // Progress and score.
    v(Field("StageNo", {0, kTitleStage}), s.StageNo);
    v(Field("BallsLeft", {0, kBallsPerGame}), s.BallsLeft);
    v(Field("StageTime", {0, 32767}), s.StageTime);
    v(Field("Score", kScore), s.Score);
    v(Field("ScoreCode", kText), s.ScoreCode);
    // Stage data and playfield.
    v(Field("StageMap", kText), s.StageMap);
    v(Field("StartX", kX), s.StartX);
    v(Field("StartY", kY), s.StartY);
    v(Field("TileGrid", {0, 9}), s.TileGrid);  // a map's digits
    // The ball.
    v(Trail("TrailX", kX, 4), s.TrailX);  // entries 4..9 never used
    v(Trail("TrailY", kY, 4), s.TrailY);
    v(Field("SpeedX", kSpeed), s.SpeedX);
    v(Field("SpeedY", kSpeed), s.SpeedY);
    v(Field("BallColor", {0, 15}), s.BallColor);  // the palette
    v(Field("BallState", {kBallInPlay, kBallGameOver}), s.BallState);
    v(Field("BallInterval", {15, kSlowestInterval}), s.BallInterval);
    v(Field("HeldKey", {0, 255}), s.HeldKey);  // the key table
    v(Field("KeyDirection", {-1, 1}), s.KeyDirection);
    v(Field("LauncherX", kLauncherX), s.LauncherX);
    v(Field("LauncherY", kLauncherY), s.LauncherY);
    v(Field("ProbeColor", kColour), s.ProbeColor);
    v(Field("WallHitSpeed", kSpeed), s.WallHitSpeed);
    // Sequences and screens. Tick runs from the title's -4 to BandOrder's last index; the
    // sequences count up to 50 at most. Loops leave LoopX at 25 at most.
    v(Field("Tick", {-4, 100}), s.Tick);
    v(Field("LoopX", {0, 25}), s.LoopX);
    v(Field("EndPhase", {0, 10}), s.EndPhase);
    v(Field("BandOrder", {0, 600}), s.BandOrder);   // bands 15 pixels apart
    v(Field("CellOrderX", {0, 24}), s.CellOrderX);  // the ending's cells
    v(Field("CellOrderY", {0, 18}), s.CellOrderY);
    v(Field("TypingSteps", kText), s.TypingSteps);
    v(Field("TypingRow", {0, 1}), s.TypingRow);  // the title word or "Game Over"
    // Environment.
    v(Local("SoundDir", kPath), s.SoundDir);
}

// Every member of the record in its order, whatever VisitFields says: a member added to
// GameState stops this compiling until it is named here, and the field list's test then names
// it until VisitFields visits it.
inline auto GameStateMembers(GameState& s) {
    auto& [StageNo, BallsLeft, StageTime, Score, ScoreCode, StageMap, StartX, StartY, TileGrid,
           TrailX, TrailY, SpeedX, SpeedY, BallColor, BallState, BallInterval, HeldKey,
           KeyDirection, LauncherX, LauncherY, ProbeColor, WallHitSpeed, Tick, LoopX, EndPhase,
           BandOrder, CellOrderX, CellOrderY, TypingSteps, TypingRow, SoundDir] = s;
    return std::tie(StageNo, BallsLeft, StageTime, Score, ScoreCode, StageMap, StartX, StartY,
                    TileGrid, TrailX, TrailY, SpeedX, SpeedY, BallColor, BallState, BallInterval,
                    HeldKey, KeyDirection, LauncherX, LauncherY, ProbeColor, WallHitSpeed, Tick,
                    LoopX, EndPhase, BandOrder, CellOrderX, CellOrderY, TypingSteps, TypingRow,
                    SoundDir);
}

}  // namespace hopla
