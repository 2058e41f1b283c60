// The icon's scene, once as sampled pixels and once as SVG shapes.
#include "tools/gen-assets/Icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "toolkit/png/PngWrite.h"
#include "tools/gen-assets/IndexedCanvas.h"
#include "tools/gen-assets/TileColors.h"
#include "tools/gen-assets/Tiles.h"

namespace hopla::gen {
namespace {

// The scene in design units: a 256 x 256 square, y down.
constexpr double kDesign = 256;
constexpr double kPlayfieldLeft = 8, kPlayfieldRight = 248, kPlayfieldRadius = 36;
constexpr double kTileLeft = 58, kTileTop = 100, kTileScale = 3.5;  // 40 px tile -> 140 units
constexpr double kBallX = 158, kBallY = 54, kBallRadius = 19;
constexpr double kTrailWidth = 14;

// The trail runs from the spring to the ball; older segments are darker, like the game's
// trail going black behind the ball. Each is opaque and drawn over the one before, so the
// joints show no overlap.
struct Segment {
    double x1, y1, x2, y2;
    Rgb8 color;
};
constexpr Segment kTrail[] = {
    {96, 98, 112, 80, {72, 72, 72}},
    {112, 80, 132, 64, {140, 140, 140}},
    {132, 64, 152, 56, {210, 210, 210}},
};

constexpr Rgb8 kWhite{255, 255, 255};

IndexedCanvas SpringCell() {
    IndexedCanvas canvas(kTileSize, kTileSize, tile::kHole);
    CellPainter cell(canvas, 0, 0, kTileSize);
    PaintSpring(cell);
    return canvas;
}

bool InPlayfield(double x, double y) {
    const double lo = kPlayfieldLeft + kPlayfieldRadius, hi = kPlayfieldRight - kPlayfieldRadius;
    const double dx = x < lo ? lo - x : (x > hi ? x - hi : 0);
    const double dy = y < lo ? lo - y : (y > hi ? y - hi : 0);
    if (x < kPlayfieldLeft || x > kPlayfieldRight || y < kPlayfieldLeft || y > kPlayfieldRight)
        return false;
    return dx * dx + dy * dy <= kPlayfieldRadius * kPlayfieldRadius;
}

// Within half the stroke width of the segment, round caps included.
bool OnSegment(const Segment& s, double x, double y) {
    const double vx = s.x2 - s.x1, vy = s.y2 - s.y1;
    double t = ((x - s.x1) * vx + (y - s.y1) * vy) / (vx * vx + vy * vy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double dx = x - (s.x1 + t * vx), dy = y - (s.y1 + t * vy);
    return dx * dx + dy * dy <= kTrailWidth * kTrailWidth / 4;
}

struct Premultiplied {
    double r = 0, g = 0, b = 0, a = 0;
    void Over(Rgb8 c, double alpha) {
        r = c.r * alpha + r * (1 - alpha);
        g = c.g * alpha + g * (1 - alpha);
        b = c.b * alpha + b * (1 - alpha);
        a = alpha + a * (1 - alpha);
    }
};

// The scene's colour at one point.
Premultiplied Sample(const IndexedCanvas& spring, double x, double y) {
    Premultiplied p;
    if (!InPlayfield(x, y)) return p;
    p.Over(tile::kHole, 1);
    const int tx = static_cast<int>(std::floor((x - kTileLeft) / kTileScale));
    const int ty = static_cast<int>(std::floor((y - kTileTop) / kTileScale));
    if (tx >= 0 && ty >= 0 && tx < kTileSize && ty < kTileSize) p.Over(spring.Get(tx, ty), 1);
    for (const Segment& s : kTrail)
        if (OnSegment(s, x, y)) p.Over(s.color, 1);
    const double bx = x - kBallX, by = y - kBallY;
    if (bx * bx + by * by <= kBallRadius * kBallRadius) p.Over(kWhite, 1);
    return p;
}

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::lround(v < 0 ? 0 : (v > 255 ? 255 : v)));
}

// A scene in design units drawn at size x size pixels, each pixel the average of a grid of
// samples (at least 1024 across the picture, whatever its size).
template <typename Scene>
std::vector<Rgba8> Render(int size, const Scene& scene) {
    const int grid = (1024 + size - 1) / size;
    const double step = kDesign / (static_cast<double>(size) * grid);
    std::vector<Rgba8> pixels(static_cast<std::size_t>(size) * size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Premultiplied sum;
            for (int sy = 0; sy < grid; ++sy) {
                for (int sx = 0; sx < grid; ++sx) {
                    const Premultiplied s =
                        scene((px * grid + sx + 0.5) * step, (py * grid + sy + 0.5) * step);
                    sum.r += s.r;
                    sum.g += s.g;
                    sum.b += s.b;
                    sum.a += s.a;
                }
            }
            Rgba8& out = pixels[static_cast<std::size_t>(py) * size + px];
            out.a = Channel(255 * sum.a / (grid * grid));
            if (sum.a > 0) {
                out.r = Channel(sum.r / sum.a);
                out.g = Channel(sum.g / sum.a);
                out.b = Channel(sum.b / sum.a);
            }
        }
    }
    return pixels;
}

std::vector<std::uint8_t> Png(int size, const std::vector<Rgba8>& pixels) {
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(size) * size * 4);
    for (const Rgba8& p : pixels) samples.insert(samples.end(), {p.r, p.g, p.b, p.a});
    return EncodePng({size, size, 4, samples.data()}, {.unfiltered = true, .level = 9});
}

// The document's page in design units: a sheet with its top right corner folded down.
constexpr double kPageLeft = 36, kPageRight = 220, kPageTop = 8, kPageBottom = 248;
constexpr double kFold = 52, kPageBorder = 8;
constexpr Rgb8 kPaper{248, 248, 244}, kPaperEdge{128, 128, 136}, kFoldBack{208, 208, 212};
// Where the page's picture lies: a square on the page's lower part.
constexpr double kPictureLeft = 56, kPictureTop = 84, kPictureSide = 144;

// Inside the sheet, less its folded corner (cut along the diagonal from the fold's left end on
// the top edge to its lower end on the right edge), by at least `inset` from its edges.
bool InSheet(double x, double y, double inset) {
    if (x < kPageLeft + inset || x > kPageRight - inset || y < kPageTop + inset ||
        y > kPageBottom - inset)
        return false;
    return ((kPageRight - x) + (y - kPageTop) - kFold) / std::sqrt(2.0) >= inset;
}

// The folded corner lying on the sheet: the triangle under the cut.
bool InFlap(double x, double y) {
    return x >= kPageRight - kFold && y <= kPageTop + kFold &&
           (kPageRight - x) + (y - kPageTop) >= kFold;
}

// Four of the game's tiles, two by two, as a stage file's picture.
Rgb8 StageTiles(const IndexedCanvas& tiles, double x, double y) {
    const int tx = static_cast<int>(std::floor(x * 2 * kTileSize / kPictureSide));
    const int ty = static_cast<int>(std::floor(y * 2 * kTileSize / kPictureSide));
    return tiles.Get(std::clamp(tx, 0, 2 * kTileSize - 1), std::clamp(ty, 0, 2 * kTileSize - 1));
}

IndexedCanvas FourTiles() {
    IndexedCanvas canvas(2 * kTileSize, 2 * kTileSize, tile::kHole);
    CellPainter wall(canvas, 0, 0, kTileSize), breakable(canvas, kTileSize, 0, kTileSize);
    CellPainter spring(canvas, 0, kTileSize, kTileSize),
        launcher(canvas, kTileSize, kTileSize, kTileSize);
    PaintWall(wall);
    PaintBreakable(breakable);
    PaintSpring(spring);
    PaintLauncher(launcher);
    return canvas;
}

std::string Hex(Rgb8 c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

}  // namespace

std::vector<Rgba8> RenderIcon(int size) {
    const IndexedCanvas spring = SpringCell();
    return Render(size, [&](double x, double y) { return Sample(spring, x, y); });
}

std::vector<std::uint8_t> IconPng(int size) {
    return Png(size, RenderIcon(size));
}

std::vector<Rgba8> RenderDocumentIcon(Document kind, int size) {
    const IndexedCanvas spring = SpringCell();
    const IndexedCanvas tiles = FourTiles();
    return Render(size, [&](double x, double y) {
        Premultiplied p;
        if (!InSheet(x, y, 0)) return p;
        p.Over(InSheet(x, y, kPageBorder) ? kPaper : kPaperEdge, 1);
        if (InFlap(x, y)) {
            const bool edge = x - (kPageRight - kFold) < kPageBorder / 2 ||
                              kPageTop + kFold - y < kPageBorder / 2;
            p.Over(edge ? kPaperEdge : kFoldBack, 1);
            return p;
        }
        const double u = x - kPictureLeft, v = y - kPictureTop;
        if (u < 0 || v < 0 || u >= kPictureSide || v >= kPictureSide) return p;
        if (kind == Document::Stages) {
            p.Over(StageTiles(tiles, u, v), 1);
            return p;
        }
        // The game's own scene, shrunk into the picture.
        const Premultiplied scene =
            Sample(spring, u * kDesign / kPictureSide, v * kDesign / kPictureSide);
        if (scene.a > 0)
            p.Over({Channel(scene.r / scene.a), Channel(scene.g / scene.a),
                    Channel(scene.b / scene.a)},
                   scene.a);
        return p;
    });
}

std::vector<std::uint8_t> DocumentIconPng(Document kind, int size) {
    return Png(size, RenderDocumentIcon(kind, size));
}

std::string IconSvg() {
    const IndexedCanvas spring = SpringCell();
    const std::string side = Number(kDesign);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        side + "\" height=\"" + side + "\" viewBox=\"0 0 " + side + " " + side + "\">\n";
    const double playfield = kPlayfieldRight - kPlayfieldLeft;
    svg += "<rect x=\"" + Number(kPlayfieldLeft) + "\" y=\"" + Number(kPlayfieldLeft) +
           "\" width=\"" + Number(playfield) + "\" height=\"" + Number(playfield) + "\" rx=\"" +
           Number(kPlayfieldRadius) + "\" fill=\"" + Hex(tile::kHole) + "\"/>\n";
    svg += "<g transform=\"translate(" + Number(kTileLeft) + " " + Number(kTileTop) + ") scale(" +
           Number(kTileScale) + ")\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize;) {
            const Rgb8 color = spring.Get(x, y);
            int end = x + 1;
            while (end < kTileSize && spring.Get(end, y) == color) ++end;
            svg += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" +
                   Number(end - x) + "\" height=\"1\" fill=\"" + Hex(color) + "\"/>\n";
            x = end;
        }
    }
    svg += "</g>\n";
    for (const Segment& s : kTrail) {
        svg += "<line x1=\"" + Number(s.x1) + "\" y1=\"" + Number(s.y1) + "\" x2=\"" +
               Number(s.x2) + "\" y2=\"" + Number(s.y2) + "\" stroke=\"" + Hex(s.color) +
               "\" stroke-width=\"" + Number(kTrailWidth) + "\" stroke-linecap=\"round\"/>\n";
    }
    svg += "<circle cx=\"" + Number(kBallX) + "\" cy=\"" + Number(kBallY) + "\" r=\"" +
           Number(kBallRadius) + "\" fill=\"" + Hex(kWhite) + "\"/>\n";
    svg += "</svg>\n";
    return svg;
}

}  // namespace hopla::gen
