// Between stage files and the stage table: the game's own stages out, a file's stages in, the hash.
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
    // The mixing of the state check's hashes: each word mixed in whole, in a fixed order.
    std::uint64_t h = 0x6A09E667F3BCC908ull;
    auto word = [&h](std::uint64_t w) {
        h ^= w + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    };
    for (int stage = 0; stage < kStageCount; ++stage) {
        for (const std::string& row : s.StageMap[stage]) {
            word(row.size());
            std::uint64_t w = 0;
            for (std::size_t i = 0; i < row.size(); ++i) {
                w = w << 8 | static_cast<unsigned char>(row[i]);
                if (i % 8 == 7 || i + 1 == row.size()) {
                    word(w);
                    w = 0;
                }
            }
        }
        word(static_cast<std::uint64_t>(static_cast<std::int64_t>(s.StartX[stage])));
        word(static_cast<std::uint64_t>(static_cast<std::int64_t>(s.StartY[stage])));
    }
    return h;
}

}  // namespace hopla
