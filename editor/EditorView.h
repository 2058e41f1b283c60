// The editor's picture: the stage drawn with the game's own tiles, the start point, the palette
// and the status lines below the playfield.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/StageEdit.h"
#include "form/Form1.h"
#include "toolkit/Image.h"
#include "toolkit/Text.h"

namespace hopla {

inline constexpr int kEditorWidth = kScreenWidth;
inline constexpr int kStripHeight = 64;  // the palette and status strip under the playfield
inline constexpr int kEditorHeight = kScreenHeight + kStripHeight;

// Where palette swatch `code` lies in the editor's picture.
struct PaletteSlot {
    int x, y, size;
};
PaletteSlot PaletteSlotOf(int code);
// The palette code under picture point (x, y), or none.
std::optional<int> PaletteCodeAt(int x, int y);

// The cell a controller or the arrow keys point at.
struct CellCursor {
    int column = kStageColumnCount / 2;
    int row = kStageRowCount / 2;
};

// What the strip says besides the palette: the stage, the file, the keys, a message.
struct StatusText {
    std::string line1;
    std::string line2;
};

// Draws the tiles through a private Form1's Back picture with the game's PutChip, so that the
// stage looks exactly as it will in play.
class EditorView {
  public:
    EditorView(const Clock& clock, const TextRenderer& text);
    ~EditorView();
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;
    // The whole picture, kEditorWidth x kEditorHeight, with the cell cursor when there is one.
    const Image& draw(const StageEdit& edit, int code, bool placingStart, const StatusText& status,
                      std::optional<CellCursor> cursor = std::nullopt);
    // The game's picture with the strip under it, for test play.
    const Image& drawPlay(const Image& game, const StatusText& status);

  private:
    void strip(const StatusText& status);
    // `s` broken into at most `most` lines of at most `room` pixels (see strip()).
    std::vector<std::string> wrapped(const std::string& s, int room, std::size_t most) const;
    void text(int x, int y, const std::string& s, Color color);

    class Silence;
    std::unique_ptr<Silence> silence_;
    std::unique_ptr<Form1> form_;
    const TextRenderer& text_;
    Image picture_{kEditorWidth, kEditorHeight};
};

}  // namespace hopla
