// Between stage files and the stage table: the game's own stages out, a file's stages in, the hash.
#include "stage/Hasher.h"
#include "stage/StageFile.h"

namespace hopla {

StageFile GameStages() {
    StageFile file;
    file.name = "Hopla";
    for (int s = 0; s < kTitleStage; ++s) {
        StageBlock& b = file.stages.emplace_back();
        b.stage = s;
        b.startX = kStartX[s];
        b.startY = kStartY[s];
        for (int r = 0; r < kStageRowCount; ++r) b.rows[r] = std::string(kStageRows[s][r]);
    }
    return file;
}

std::string ExportGameStages() {
    return FormatStages(GameStages());
}

void ApplyStages(const StageFile& file, GameState& s) {
    for (const StageBlock& b : file.stages) {
        std::array<std::string, 20>& map = s.StageMap.at(b.stage);
        for (std::size_t r = 0; r < map.size(); ++r)
            map[r] = r < b.rows.size() ? b.rows[r] : std::string();
        s.StartX[b.stage] = b.startX;
        s.StartY[b.stage] = static_cast<std::int16_t>(b.startY);
    }
}

std::uint64_t StageTableHash(const GameState& s) {
    Hasher h;
    for (int stage = 0; stage < kStageCount; ++stage) {
        for (const std::string& row : s.StageMap[stage]) h.text(row);
        h.integer(s.StartX[stage]);
        h.integer(s.StartY[stage]);
    }
    return h.value();
}

}  // namespace hopla
