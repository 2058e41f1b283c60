// Hsyoki and LoadStageGrid: the built-in table into the record, one stage into the grid.
#include "stage/StageTable.h"

namespace hopla {

void Hsyoki(Form1&, GameState& s) {
    s.SpeedY = 0;
    s.SpeedX = 0;
    s.BallColor = 15;
    for (int stage = 0; stage < kStageCount; ++stage) {
        for (int row = 0; row < kStageRowCount; ++row)
            s.StageMap[stage][row] = std::string(kStageRows[stage][row]);
        s.StartX[stage] = kStartX[stage];
        s.StartY[stage] = kStartY[stage];
    }
    LoadStageGrid(s, s.StageNo);
    PutBallAtStart(s, s.StageNo);
}

void LoadStageGrid(GameState& s, int stage) {
    for (s.Tick = 0; s.Tick <= 14; ++s.Tick) {
        const std::string& row = s.StageMap[stage][s.Tick];
        for (s.LoopX = 0; s.LoopX <= 19; ++s.LoopX) {
            const char c = static_cast<std::size_t>(s.LoopX) < row.size() ? row[s.LoopX] : ' ';
            s.TileGrid[s.LoopX][s.Tick] =
                static_cast<std::int16_t>(c >= '0' && c <= '9' ? c - '0' : 0);
        }
    }
}

void PutBallAtStart(GameState& s, int stage) {
    for (int i = 0; i <= 3; ++i) {
        s.TrailX[i] = s.StartX[stage];
        s.TrailY[i] = s.StartY[stage];
    }
}

}  // namespace hopla
