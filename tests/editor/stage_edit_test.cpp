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

}  // namespace
}  // namespace hopla
