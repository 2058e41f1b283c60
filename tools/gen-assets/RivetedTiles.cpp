// The wall and breakable tiles: a shared riveted metal frame around glass or stone.
#include <cstdint>

#include "tools/gen-assets/TileColors.h"
#include "tools/gen-assets/Tiles.h"

namespace hopla::gen {
namespace {

using namespace tile;

constexpr int kFrameWidth = 6;
constexpr int kPanelFirst = kFrameWidth;                 // 6
constexpr int kPanelLast = kTileSize - 1 - kFrameWidth;  // 33

void PaintRivet(CellPainter& cell, int left, int top) {
    // A 4 x 4 round head lit from the top left; '.' keeps the frame.
    static constexpr const char* kRows[4] = {".LL.", "LRRd", "LRdd", ".dd."};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            switch (kRows[y][x]) {
                case 'L':
                    cell.Put(left + x, top + y, kRivetLight);
                    break;
                case 'R':
                    cell.Put(left + x, top + y, kRivet);
                    break;
                case 'd':
                    cell.Put(left + x, top + y, kFrameDark);
                    break;
                default:
                    break;
            }
        }
    }
}

// A raised frame (lit outer top-left edge) with the panel sunk into it (shaded inner
// top-left edge), and rivets in the corners and at the middle of each side.
void PaintRivetedFrame(CellPainter& cell) {
    const int last = kTileSize - 1;
    cell.Fill(kFrame);
    for (int i = 0; i < kTileSize; ++i) {
        cell.Put(i, 0, kFrameLight);
        cell.Put(0, i, kFrameLight);
        cell.Put(i, last, kFrameDark);
        cell.Put(last, i, kFrameDark);
    }
    const int in = kPanelFirst - 1;
    const int out = kPanelLast + 1;
    for (int i = in; i <= out; ++i) {
        cell.Put(i, out, kFrameLight);
        cell.Put(out, i, kFrameLight);
        cell.Put(i, in, kFrameDark);
        cell.Put(in, i, kFrameDark);
    }
    for (int top : {1, 18, 35})
        for (int left : {1, 18, 35})
            if (top != 18 || left != 18) PaintRivet(cell, left, top);
}

// Depth of a panel pixel from the nearest panel edge and whether that edge faces the light.
struct EdgeDepth {
    int depth;
    bool lit;
};

EdgeDepth PanelEdge(int u, int v, int size) {
    const int toTop = v, toLeft = u, toBottom = size - 1 - v, toRight = size - 1 - u;
    const int litDepth = toTop < toLeft ? toTop : toLeft;
    const int darkDepth = toBottom < toRight ? toBottom : toRight;
    return litDepth <= darkDepth ? EdgeDepth{litDepth, true} : EdgeDepth{darkDepth, false};
}

// A fixed per-pixel hash for texture: the same picture on every run.
std::uint32_t Hash(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

}  // namespace

void PaintWall(CellPainter& cell) {
    PaintRivetedFrame(cell);
    const int size = kPanelLast - kPanelFirst + 1;  // 28
    for (int v = 0; v < size; ++v) {
        for (int u = 0; u < size; ++u) {
            const int diagonal = u + v;  // 0 at the lit corner, 54 at the far one
            Rgb8 color = diagonal < 14 ? kGlassLight : diagonal < 40 ? kGlass : kGlassDeep;
            // Two streaks of reflected light across the glass, and a soft glow in the
            // far corner where light comes through.
            if (diagonal >= 17 && diagonal <= 20 && u > 2 && v > 2) color = kGlassSheen;
            if (diagonal >= 23 && diagonal <= 24 && u > 3 && v > 3) color = kGlassLight;
            if (diagonal >= 44 && diagonal <= 45 && u < size - 2 && v < size - 2)
                color = kGlassLight;
            const EdgeDepth edge = PanelEdge(u, v, size);
            if (edge.depth == 0) color = edge.lit ? kGlassLight : kGlassDeep;
            cell.Put(kPanelFirst + u, kPanelFirst + v, color);
        }
    }
    // A glint in the lit corner.
    cell.Put(kPanelFirst + 4, kPanelFirst + 3, kGlassSheen);
    cell.Put(kPanelFirst + 3, kPanelFirst + 4, kGlassSheen);
    cell.Put(kPanelFirst + 4, kPanelFirst + 4, kGlassSheen);
    cell.Put(kPanelFirst + 5, kPanelFirst + 4, kGlassSheen);
    cell.Put(kPanelFirst + 4, kPanelFirst + 5, kGlassSheen);
}

void PaintBreakable(CellPainter& cell) {
    PaintRivetedFrame(cell);
    const int size = kPanelLast - kPanelFirst + 1;
    for (int v = 0; v < size; ++v) {
        for (int u = 0; u < size; ++u) {
            Rgb8 color = kStone;
            const std::uint32_t grain = Hash(u, v) % 23;
            if (grain == 0 || grain == 1) color = kStoneDark;
            if (grain == 2) color = kStoneLight;
            const EdgeDepth edge = PanelEdge(u, v, size);
            if (edge.depth < 2) color = edge.lit ? kStoneLight : kStoneDark;
            cell.Put(kPanelFirst + u, kPanelFirst + v, color);
        }
    }
    // Cracks: a dark fissure with a lit lip below it, so it reads as cut into the stone.
    struct Segment {
        int x1, y1, x2, y2;
    };
    static constexpr Segment kCracks[] = {
        {21, 6, 19, 11},  {19, 11, 22, 15}, {22, 15, 18, 21}, {18, 21, 20, 26},
        {22, 15, 28, 18}, {28, 18, 30, 17}, {18, 21, 12, 24}, {12, 24, 9, 23},
    };
    for (const Segment& s : kCracks) cell.Line(s.x1 + 1, s.y1 + 1, s.x2 + 1, s.y2 + 1, kStoneLight);
    for (const Segment& s : kCracks) cell.Line(s.x1, s.y1, s.x2, s.y2, kCrack);
}

}  // namespace hopla::gen
