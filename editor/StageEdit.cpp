// Editing stages: painting cells and lines of cells, the start point, undo and redo, saving.
#include "editor/StageEdit.h"

#include <cstdlib>
#include <filesystem>

#include "form/Playfield.h"
#include "platform/Platform.h"
#include "shell/GameFiles.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

namespace hopla {

StageEdit::StageEdit(std::string path) : path_(std::move(path)), table_(GameStages()) {
    // Only a file that is not there is a new one: one that is there but cannot be reached (a
    // link loop, a folder that may not be read) is an error, or a save would replace it.
    std::error_code error;
    const bool exists = std::filesystem::exists(PathFromUtf8(path_), error);
    if (error)
        throw StageFileError(Escaped(path_) + ": cannot read the stages: " + error.message());
    if (exists) {
        const StageFile file = ReadStageFile(path_);
        table_.name = file.name;
        table_.author = file.author;
        for (const StageBlock& b : file.stages) {
            table_.stages[static_cast<std::size_t>(b.stage)] = b;
            inFile_.insert(b.stage);
        }
        if (!file.stages.empty()) stage_ = file.stages.front().stage;
    } else {
        // A new file is named after its file name, made fit to be a name whatever its bytes.
        const std::u8string stem = PathFromUtf8(path_).stem().u8string();
        table_.name = CleanedLabel(std::string(stem.begin(), stem.end()), kMaxStageNameLength);
        if (table_.name.empty()) table_.name = "New stages";
    }
}

void StageEdit::turnPage(int step) {
    endStroke();  // a stroke belongs to one stage
    stage_ = ((stage_ + step) % kEditStages + kEditStages) % kEditStages;
}

int StageEdit::tile(int column, int row) const {
    if (column < 0 || column >= kStageColumnCount || row < 0 || row >= kStageRowCount) return -1;
    return block().rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] - '0';
}

void StageEdit::beginStroke() {
    strokeBefore_ = block();
    strokeLast_.reset();
}

void StageEdit::paint(int column, int row, int code) {
    if (!strokeBefore_) beginStroke();
    const auto put = [&](int c, int r) {
        if (c < 0 || c >= kStageColumnCount || r < 0 || r >= kStageRowCount) return;
        // The start point's cell stays empty: a ball does not start inside a tile.
        if (code != 0 && c == block().startX / kTileSize && r == block().startY / kTileSize) return;
        current().rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
            static_cast<char>('0' + code);
    };
    // The cells of the line from the stroke's last cell: a fast drag leaves no gaps.
    int c0 = strokeLast_ ? strokeLast_->first : column,
        r0 = strokeLast_ ? strokeLast_->second : row;
    const int dc = std::abs(column - c0), dr = -std::abs(row - r0);
    const int sc = c0 < column ? 1 : -1, sr = r0 < row ? 1 : -1;
    for (int err = dc + dr;;) {
        put(c0, r0);
        if (c0 == column && r0 == row) break;
        const int e2 = 2 * err;
        if (e2 >= dr) err += dr, c0 += sc;
        if (e2 <= dc) err += dc, r0 += sr;
    }
    strokeLast_ = {column, row};
}

void StageEdit::endStroke() {
    if (strokeBefore_ && !(*strokeBefore_ == block())) record(*strokeBefore_);
    strokeBefore_.reset();
    strokeLast_.reset();
}

bool StageEdit::placeStart(int x, int y) {
    if (x < kMinStartX || x > kMaxStartX || y < kMinStartY || y > kMaxStartY) return false;
    const StageBlock before = block();
    current().startX = x;
    current().startY = y;
    current()
        .rows[static_cast<std::size_t>(y / kTileSize)][static_cast<std::size_t>(x / kTileSize)] =
        '0';
    if (!(before == block())) record(before);
    return true;
}

void StageEdit::setLabels(std::string name, std::string author) {
    if (name == table_.name && author == table_.author) return;
    table_.name = std::move(name);
    table_.author = std::move(author);
    modified_ = true;
}

void StageEdit::record(const StageBlock& before) {
    undo_.push_back({stage_, before, block()});
    if (undo_.size() > kUndoSteps) undo_.pop_front();
    redo_.clear();
    modified_ = true;
}

bool StageEdit::undo() {
    endStroke();
    if (undo_.empty()) return false;
    const Step step = undo_.back();
    undo_.pop_back();
    stage_ = step.stage;
    current() = step.before;
    redo_.push_back(step);
    modified_ = true;
    return true;
}

bool StageEdit::redo() {
    endStroke();
    if (redo_.empty()) return false;
    const Step step = redo_.back();
    redo_.pop_back();
    stage_ = step.stage;
    current() = step.after;
    undo_.push_back(step);
    modified_ = true;
    return true;
}

StageFile StageEdit::toSave() const {
    const StageFile own = GameStages();
    StageFile file{table_.name, table_.author, {}};
    for (int s = 0; s < kEditStages; ++s) {
        const StageBlock& b = table_.stages[static_cast<std::size_t>(s)];
        if (inFile_.contains(s) || !(b == own.stages[static_cast<std::size_t>(s)]))
            file.stages.push_back(b);
    }
    return file;
}

void StageEdit::save() {
    const std::string text = FormatStages(toSave());  // refuses stages that break the format
    if (const std::optional<std::string> error = ReplaceFile(path_, text, kTypedPath))
        throw StageFileError(*error);
    modified_ = false;
}

void StageEdit::saveRecovery() const {
    if (const std::optional<std::string> error =
            ReplaceFile(recoveryPath(), FormatStages(toSave()), kTypedPath))
        throw StageFileError(*error);
}

}  // namespace hopla
