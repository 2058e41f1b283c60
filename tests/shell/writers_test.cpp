// Every writer of the programs' files keeps the one rule: a pipe in the file's place is refused
// and left as it is, never waited on (the records then go beside it); a symbolic link is written
// through and stays a link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "editor/StageEdit.h"
#include "platform/Platform.h"
#include "shell/RecordKeeper.h"
#include "shell/Settings.h"
#include "tools/sim/PngWriter.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

TEST(Writers, EachKeepsTheOneRule) {
    const fs::path dir = fs::temp_directory_path() / ("hopla-writers-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "records");
    GameRecord game;
    game.when = "2026-12-08T10:00:00";
    game.score = 99;
    // Each writes the file at `path`; what it said when it could not, or "".
    const struct {
        const char* what;
        std::string path;
        std::function<std::string(const std::string&)> write;
        const char* onAPipe = "not a regular file";  // what it says with a pipe in its place
    } writers[] = {
        {"settings", (dir / "settings.ini").string(),
         [](const std::string& path) { return SaveSettings(path, Settings{}).value_or(""); }},
        {"records", (dir / "records" / "records.txt").string(),
         [&](const std::string&) {
             return KeepRecord((dir / "records").string(), game, "", {2026, 12, 8, 10, 0, 0}).error;
         },
         ""},
        {"the editor's save", (dir / "mine.stages").string(),
         [](const std::string& path) {
             try {
                 StageEdit edit(path + ".new");  // a new file's stages, saved to `path`
                 edit.beginStroke();
                 edit.paint(1, 1, 2);
                 edit.endStroke();
                 StageEdit(path).save();
                 return std::string();
             } catch (const StageFileError& e) {
                 return std::string(e.what());
             }
         }},
        {"a shot", (dir / "shot.png").string(),
         [](const std::string& path) {
             try {
                 WritePng(Image(4, 3, 0xff0000), path);
                 return std::string();
             } catch (const std::runtime_error& e) {
                 return std::string(e.what());
             }
         }},
    };
    for (const auto& w : writers) {
        fs::remove(w.path);
        ASSERT_EQ(::mkfifo(w.path.c_str(), 0600), 0) << w.what;
        const std::string said = w.write(w.path);
        EXPECT_EQ(said.empty(), std::string(w.onAPipe).empty()) << w.what << ": " << said;
        EXPECT_NE(said.find(w.onAPipe), std::string::npos) << w.what << ": " << said;
        EXPECT_TRUE(fs::is_fifo(w.path)) << w.what;
        fs::remove(w.path);
        const fs::path target = dir / (std::string(w.what) + " target");
        fs::create_symlink(target, w.path);
        EXPECT_EQ(w.write(w.path), "") << w.what;
        EXPECT_TRUE(fs::is_symlink(w.path)) << w.what;
        EXPECT_GT(fs::file_size(target), 0u) << w.what;
        fs::remove(w.path);
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace hopla
