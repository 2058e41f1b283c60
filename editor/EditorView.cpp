// Drawing the editor: tiles from the game's sheet, the start mark, the lines that end a stage,
// the palette and the status lines.
#include "editor/EditorView.h"

#include <algorithm>
#include <optional>

#include "stage/Render.h"
#include "toolkit/Sound.h"

namespace hopla {
namespace {

constexpr Color kStripColor = Rgb(32, 32, 48);
constexpr int kTextLeft = 336;  // where the status lines start, right of the palette

Font StripFont() {
    return Font{Font().face, 10, false};
}
constexpr Color kChosen = Rgb(255, 255, 0);
constexpr Color kStartMark = Rgb(255, 64, 64);
constexpr Color kLineMark = Rgb(96, 96, 160);

void Box(Image& image, int x, int y, int w, int h, std::uint32_t color) {
    for (int j = std::max(0, y); j < std::min(image.height, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(image.width, x + w); ++i) image.at(i, j) = color;
}

void Frame(Image& image, int x, int y, int w, int h, std::uint32_t color) {
    Box(image, x, y, w, 2, color);
    Box(image, x, y + h - 2, w, 2, color);
    Box(image, x, y, 2, h, color);
    Box(image, x + w - 2, y, 2, h, color);
}

}  // namespace

// The private form plays no sound.
class EditorView::Silence final : public SoundDevice {
  public:
    void play(const std::string&, bool) override {}
    void stop(bool) override {}
};

PaletteSlot PaletteSlotOf(int code) {
    return {8 + code * 46, kScreenHeight + 12, 40};
}

std::optional<int> PaletteCodeAt(int x, int y) {
    for (int code = 0; code < kPaletteCodes; ++code) {
        const PaletteSlot s = PaletteSlotOf(code);
        if (x >= s.x && x < s.x + s.size && y >= s.y && y < s.y + s.size) return code;
    }
    return std::nullopt;
}

EditorView::EditorView(const Clock& clock, const TextRenderer& text)
    : silence_(std::make_unique<Silence>()),
      form_(std::make_unique<Form1>(clock, *silence_, &text)),
      text_(text) {}

EditorView::~EditorView() = default;

const Image& EditorView::draw(const StageEdit& edit, int code, bool placingStart,
                              const StatusText& status, std::optional<CellCursor> cursor) {
    Picture& back = form_->Back;
    back.fillBox(0, 0, kScreenWidth, kScreenHeight, kBlack);
    for (int row = 0; row < kStageRowCount; ++row)
        for (int column = 0; column < kStageColumnCount; ++column)
            if (const int t = edit.tile(column, row); t > 0) PutChip(*form_, column, row, t);
    const std::shared_ptr<const Image> stage = back.snapshot();
    std::copy(stage->pixels.begin(), stage->pixels.end(), picture_.pixels.begin());
    // The exit and loss lines, dotted: a ball past them has left the stage or is lost.
    for (int y = 0; y < kScreenHeight; y += 6) Box(picture_, kExitLine, y, 1, 3, kLineMark);
    for (int x = 0; x < kScreenWidth; x += 6) Box(picture_, x, kLossLine, 3, 1, kLineMark);
    // The start point: a ring round it and its cell framed.
    const StageBlock& b = edit.block();
    Frame(picture_, b.startX / kTileSize * kTileSize, b.startY / kTileSize * kTileSize, kTileSize,
          kTileSize, placingStart ? kChosen : kStartMark);
    Box(picture_, b.startX - 6, b.startY - 1, 13, 3, kStartMark);
    Box(picture_, b.startX - 1, b.startY - 6, 3, 13, kStartMark);
    // The controller's cell cursor: a double frame in the chosen colour.
    if (cursor) {
        Frame(picture_, cursor->column * kTileSize, cursor->row * kTileSize, kTileSize, kTileSize,
              kChosen);
        Frame(picture_, cursor->column * kTileSize + 2, cursor->row * kTileSize + 2, kTileSize - 4,
              kTileSize - 4, kChosen);
    }
    strip(status);
    for (int c = 0; c < kPaletteCodes; ++c) {
        const PaletteSlot s = PaletteSlotOf(c);
        if (c > 0) {
            const std::shared_ptr<const Image> sheet = form_->Chip.snapshot();
            for (int j = 0; j < s.size; ++j)
                for (int i = 0; i < s.size; ++i)
                    picture_.at(s.x + i, s.y + j) = sheet->at((c - 1) * kTileSize + i, j);
        } else {
            Box(picture_, s.x, s.y, s.size, s.size, kBlack);
        }
        Frame(picture_, s.x - 3, s.y - 3, s.size + 6, s.size + 6,
              c == code && !placingStart ? kChosen : Rgb(80, 80, 96));
        text(s.x + 2, s.y + 1, std::to_string(c), kWhite);
    }
    return picture_;
}

const Image& EditorView::drawPlay(const Image& game, const StatusText& status) {
    std::copy(game.pixels.begin(), game.pixels.end(), picture_.pixels.begin());
    strip(status);
    return picture_;
}

// A second line too long for the strip (a message naming a long path) takes both lines, broken
// at spaces or, in a word longer than a line, anywhere; what does not fit then ends in "...".
void EditorView::strip(const StatusText& status) {
    Box(picture_, 0, kScreenHeight, kEditorWidth, kStripHeight, kStripColor);
    const std::vector<std::string> lines = wrapped(status.line2, kEditorWidth - kTextLeft - 8, 2);
    const bool first = lines.size() < 2;
    if (first) text(kTextLeft, kScreenHeight + 10, status.line1, kWhite);
    for (std::size_t i = 0; i < lines.size(); ++i)
        text(kTextLeft, kScreenHeight + (first ? 34 : 10 + 24 * static_cast<int>(i)), lines[i],
             Rgb(200, 200, 200));
}

std::vector<std::string> EditorView::wrapped(const std::string& s, int room,
                                             std::size_t most) const {
    const Font font = StripFont();
    std::vector<std::string> lines;
    std::string rest = s;
    while (!rest.empty()) {
        if (lines.size() + 1 == most || text_.width(rest, font) <= room) {
            std::string last = rest;
            while (!last.empty() && text_.width(last + (last == rest ? "" : "..."), font) > room) {
                std::size_t cut = last.size() - 1;
                while (cut > 0 && (static_cast<unsigned char>(last[cut]) & 0xC0) == 0x80) --cut;
                last.resize(cut);
            }
            lines.push_back(last == rest ? last : last + "...");
            break;
        }
        // The longest start of `rest` that fits, ended at a space when there is one.
        std::size_t fit = 0, space = 0;
        for (std::size_t i = 1; i <= rest.size(); ++i) {
            if (i < rest.size() && (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80) continue;
            if (text_.width(rest.substr(0, i), font) > room) break;
            fit = i;
            if (i < rest.size() && rest[i] == ' ') space = i;
        }
        // A space too early (before a long path) would waste the line: then anywhere.
        const std::size_t take = space > fit / 2 ? space : std::max<std::size_t>(fit, 1);
        lines.push_back(rest.substr(0, take));
        rest.erase(0, take);
        rest.erase(0, rest.find_first_not_of(' ') == std::string::npos
                          ? rest.size()
                          : rest.find_first_not_of(' '));
    }
    return lines;
}

void EditorView::text(int x, int y, const std::string& s, Color color) {
    text_.draw(picture_, {0, 0, picture_.width, picture_.height}, x, y, s, StripFont(), color);
}

}  // namespace hopla
