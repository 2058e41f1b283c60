// The editor's document: strokes paint lines of cells, undo and redo step back and forth,
// the start point keeps its cell empty, and a save writes the name, the author and the stages
// changed to a file that reads back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "editor/StageEdit.h"
#include "shell/GameFiles.h"
#include "toolkit/FilePath.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

TEST(StageEdit, PaintsUndoesRedoesAndSaves) {
    // In a folder named with a letter outside ASCII, as a player's may be: the file saved there
    // must be found again when it is reopened.
    const fs::path dir = fs::temp_directory_path() /
                         PathFromUtf8("stage-edit-\xc3\xbc-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::u8string name = (dir / "new.stages").u8string();
    const std::string path(name.begin(), name.end());
    StageEdit edit(path);  // a new file: the game's own stages, named after the file
    EXPECT_EQ(edit.table().stages, GameStages().stages);
    EXPECT_EQ(edit.table().name, "new");
    edit.turnPage(-1);
    ASSERT_EQ(edit.stage(), 20);
    const StageBlock original = edit.block();

    // A drag from (2, 3) to (6, 3) fills the cells between; one step for undo.
    edit.beginStroke();
    edit.paint(2, 3, 2);
    edit.paint(6, 3, 2);
    edit.endStroke();
    for (int c = 2; c <= 6; ++c) EXPECT_EQ(edit.tile(c, 3), 2) << c;
    // The start point moves and its cell stays empty under a later stroke.
    ASSERT_TRUE(edit.placeStart(300, 140));
    EXPECT_FALSE(edit.placeStart(20, 140));  // in the outer cells
    edit.paint(7, 3, 1);
    edit.endStroke();
    EXPECT_EQ(edit.tile(7, 3), 0);
    EXPECT_TRUE(edit.modified());

    edit.turnPage(1);
    EXPECT_TRUE(edit.undo());  // back to stage 20, where the step was
    EXPECT_EQ(edit.stage(), 20);
    EXPECT_EQ(edit.block().startX, original.startX);
    EXPECT_TRUE(edit.undo());
    EXPECT_EQ(edit.block(), original);
    EXPECT_FALSE(edit.undo());
    EXPECT_TRUE(edit.redo());
    EXPECT_EQ(edit.tile(4, 3), 2);

    edit.setLabels("First steps", "A. Player");
    edit.save();
    EXPECT_FALSE(edit.modified());
    EXPECT_FALSE(fs::exists(PathFromUtf8(path + ".tmp")));
    const StageFile saved = ReadStageFile(path);
    EXPECT_EQ(saved.name, "First steps");
    EXPECT_EQ(saved.author, "A. Player");
    ASSERT_EQ(saved.stages.size(), 1u);  // a new file holds the stages changed, no more
    EXPECT_EQ(saved.stages[0], edit.block());
    StageEdit reopened(path);
    EXPECT_EQ(reopened.table(), edit.table());
    fs::remove_all(dir);
}

// A page turned or a step undone in the middle of a drag ends the stroke there: each stage's
// undo gives back its own tiles.
TEST(StageEdit, AStrokeEndsWhereThePageTurns) {
    StageEdit edit("/nonexistent/new.stages");
    const StageFile own = GameStages();
    edit.beginStroke();
    edit.paint(5, 5, 2);
    edit.turnPage(1);
    edit.paint(6, 5, 2);
    edit.endStroke();
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.block(), own.stages[1]);
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.block(), own.stages[0]);
}

#ifndef _WIN32
// A new file is named after its file name, whatever its bytes; a file that is there but cannot
// be reached is an error, never a new file a save would put in its place. Edits kept for
// recovery go beside the file and leave it alone.
TEST(StageEdit, FileNamesOfAnyBytesAndFilesOutOfReach) {
    const fs::path dir =
        fs::temp_directory_path() / ("stage-edit-names-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const struct {
        std::string file;
        std::string name;  // none: the file cannot be edited
    } cases[] = {
        {"Caf\xe9.stages", "Caf\xef\xbf\xbd"},
        {"my pack .stages", "my pack"},
        {" .stages", "New stages"},
        {std::string(70, 'x') + ".stages", std::string(60, 'x')},
        {"loop.stages", ""},
    };
    fs::create_symlink("loop.stages", dir / "loop.stages");
    for (const auto& c : cases) {
        const std::string path = (dir / c.file).string();
        if (c.name.empty()) {
            EXPECT_THROW(StageEdit{path}, StageFileError) << c.file;
            continue;
        }
        StageEdit edit(path);
        EXPECT_EQ(edit.table().name, c.name) << c.file;
        edit.beginStroke();
        edit.paint(1, 1, 2);
        edit.endStroke();
        edit.saveRecovery();  // the cleaned name is one a file may hold
        EXPECT_EQ(ReadStageFile(edit.recoveryPath()).name, c.name) << c.file;
        EXPECT_FALSE(fs::exists(path)) << c.file;
        EXPECT_TRUE(edit.modified()) << c.file;
    }
    fs::remove_all(dir);
}
#endif

}  // namespace
}  // namespace hopla
