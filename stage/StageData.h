// The built-in stage table: tile rows and start points of stages 0..20 and the title stage 21.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "form/GameState.h"

namespace hopla {

inline constexpr int kStageRowCount = 15;  // rows 0..14 of every map are filled
inline constexpr int kStageColumnCount = 20;

using StageRows = std::array<std::string_view, kStageRowCount>;

// Row r of stage s: 20 digits, character c giving the tile code of column c.
extern const std::array<StageRows, kStageCount> kStageRows;
extern const std::array<int, kStageCount> kStartX;
extern const std::array<std::int16_t, kStageCount> kStartY;

}  // namespace hopla
