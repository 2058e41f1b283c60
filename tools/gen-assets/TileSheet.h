// The tile sheet: six 40 x 40 cells side by side, cell c drawn for tile code c + 1.
#pragma once

#include "tools/gen-assets/IndexedCanvas.h"

namespace hopla::gen {

// A 240 x 40 canvas; its palette holds only the colours the cells use.
IndexedCanvas PaintTileSheet();

}  // namespace hopla::gen
