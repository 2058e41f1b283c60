// The stage editor's document: all 21 stages of the file being edited, the tool in hand, and
// the steps to undo and redo. Knows nothing of windows: the editor's loop calls it.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>

#include "stage/StageFile.h"

namespace hopla {

inline constexpr int kEditStages = kTitleStage;  // stages 0..20 are edited
inline constexpr int kPaletteCodes = 7;          // tile codes 0..6
inline constexpr std::size_t kUndoSteps = 200;   // steps kept for undo

class StageEdit {
  public:
    // Opens `path`: its stages over the game's own, or, when there is no such file, the game's
    // own stages under the file's name (a new file then holds the stages changed from them).
    // Throws StageFileError for a file that is not a stage file.
    explicit StageEdit(std::string path);

    const std::string& path() const { return path_; }
    int stage() const { return stage_; }
    // The next or previous stage (wrapping round 0..20). Ends a stroke, as undo and redo do: a
    // drag that goes on paints a new one.
    void turnPage(int step);
    const StageBlock& block() const { return table_.stages[static_cast<std::size_t>(stage_)]; }
    int tile(int column, int row) const;

    // One step of editing. Paints cells (column, row) with `code` 0..6 along the line from the
    // previous point of the same stroke (a drag paints a line of cells); a stroke is one step
    // for undo. Cells off the grid are ignored.
    void beginStroke();
    void paint(int column, int row, int code);
    void endStroke();
    // Places the ball's start point at playfield pixel (x, y), emptying its cell; false (and
    // nothing done) outside the start point's ranges.
    bool placeStart(int x, int y);

    bool undo();
    bool redo();
    bool modified() const { return modified_; }
    // Names the file (1..60 characters) and its author (empty: none), both without spaces at
    // their ends; saved with the stages, not a step for undo.
    void setLabels(std::string name, std::string author);

    // The stages as the game's stage table gets them (all 21), and as the file is written:
    // the stages the file held and those that differ from the game's own.
    const StageFile& table() const { return table_; }
    StageFile toSave() const;
    // Writes the file whole through the platform's atomic replace (a temporary file renamed over
    // it); throws StageFileError (one line) when the stages break the format or the file cannot
    // be written.
    void save();
    // Where the edits not saved go when the editor is made to end (a termination request):
    // beside the file, its name with ".recovery" added.
    std::string recoveryPath() const { return path_ + ".recovery"; }
    // Writes the stages as they are now to recoveryPath(), as save() writes; the file itself and
    // the modified state stay as they are. Throws StageFileError (one line) when it cannot.
    void saveRecovery() const;

  private:
    struct Step {
        int stage;
        StageBlock before, after;
    };
    void record(const StageBlock& before);
    StageBlock& current() { return table_.stages[static_cast<std::size_t>(stage_)]; }

    std::string path_;
    StageFile table_;       // stages 0..20 in order
    std::set<int> inFile_;  // the stages the file held (a new file: none)
    int stage_ = 0;
    std::deque<Step> undo_, redo_;
    std::optional<StageBlock> strokeBefore_;
    std::optional<std::pair<int, int>> strokeLast_;
    bool modified_ = false;
};

}  // namespace hopla
