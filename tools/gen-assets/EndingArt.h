// The ending landscape sheet: three 32 x 32 cells (sky, ground, horizon with grass).
#pragma once

#include "tools/gen-assets/IndexedCanvas.h"

namespace hopla::gen {

inline constexpr int kEndingCellSize = 32;

// A 96 x 32 canvas using exactly six colours. The horizon cell tiles seamlessly side by side.
IndexedCanvas PaintEndingSheet();

}  // namespace hopla::gen
