// The game state record: every variable the handlers share, under the game's own names.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "form/StageMap.h"

namespace hopla {

inline constexpr int kTitleStage = 21;  // StageNo of the title room, after stages 0..20
inline constexpr int kStageCount = 22;
inline constexpr int kBallsPerGame = 9;  // BallsLeft of a new game; the score counts those lost

// What the ball is doing; the stage introduction and the key handler branch on it.
enum BallStates : int {
    kBallInPlay = 0,    // normal play under Timer1
    kBallCaught = 1,    // caught on a launcher, waiting for Left or Right
    kBallLaunched = 2,  // launched flight under Timer3
    kBallToTitle = 3,   // returning to the title stage after Space
    kBallGameOver = 4,  // game over pending
};

// The slowest pace BallInterval gives Timer1 and Timer3: the largest interval a timer takes.
inline constexpr int kSlowestInterval = 65535;

// Tile codes of TileGrid.
enum TileCodes : std::int16_t {
    kEmpty = 0,
    kWall = 1,
    kBreakable = 2,
    kSpring = 3,
    kLauncher = 4,
    kEndSign = 5,
    kStartSign = 6,
};

// Zero-filled on creation; start-up gives the first values. 16-bit variables are int16_t,
// "integer" ones int (they stay in the 16-bit range in play but are not limited to it).
struct GameState {
    // Progress and score.
    int StageNo = 0;  // 0..20, kTitleStage the title room
    std::int16_t BallsLeft = 0;
    std::array<std::int16_t, 31> StageTime{};  // Timer1 ticks per stage; stops at 32767
    std::int32_t Score = 0;                    // 32-bit so a long game's total is not lost
    std::string ScoreCode;

    // Stage data and playfield.
    StageMapTable StageMap;  // (stage, row); copies share it until one writes
    std::array<int, 22> StartX{};
    std::array<std::int16_t, 22> StartY{};
    std::array<std::array<std::int16_t, 20>, 25> TileGrid{};  // (column, row)

    // The ball.
    std::array<double, 10> TrailX{};  // entries 0..3 used, 0 the newest
    std::array<double, 10> TrailY{};
    float SpeedX = 0;            // pixels per tick, positive rightwards
    double SpeedY = 0;           // positive upwards
    std::int16_t BallColor = 0;  // palette index
    int BallState = kBallInPlay;
    int BallInterval = 0;  // ms, period of Timer1 and Timer3
    std::int16_t HeldKey = 0;
    std::array<std::int16_t, 256> KeyDirection{};
    std::int16_t LauncherX = 0;
    int LauncherY = 0;
    std::int32_t ProbeColor = 0;
    double WallHitSpeed = 0;

    // Sequences and screens.
    int Tick = 0;
    int LoopX = 0;
    int EndPhase = 0;
    std::array<std::int16_t, 101> BandOrder{};
    std::array<std::array<int, 19>, 25> CellOrderX{};  // (i, t)
    std::array<std::array<std::int16_t, 19>, 25> CellOrderY{};
    std::array<std::array<std::string, 6>, 3> TypingSteps{};  // (row, step)
    std::int16_t TypingRow = 0;

    // Environment.
    std::string SoundDir;
};

}  // namespace hopla
