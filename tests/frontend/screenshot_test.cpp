// Screenshots: named by the second they were taken, numbered within it, never over a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "frontend/Screenshot.h"

namespace hopla {
namespace {

namespace fs = std::filesystem;

TEST(Screenshot, ShotsOfOneSecondAreNumberedNeverOverwriting) {
    const fs::path dir = fs::temp_directory_path() / ("hopla-shots-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const LocalTime t{2026, 12, 8, 9, 5, 7};
    const Image picture(800, 600, 0x00ff8000);
    // Someone else's file under the second name is passed over and left alone.
    fs::create_directories(dir / "Hopla");
    std::ofstream(dir / "Hopla" / "hopla-2026-12-08-09-05-07-2.png") << "mine";
    const char* const expected[] = {"hopla-2026-12-08-09-05-07.png",
                                    "hopla-2026-12-08-09-05-07-3.png",
                                    "hopla-2026-12-08-09-05-07-4.png"};
    for (const char* name : expected) {
        const SavedScreenshot saved = SaveScreenshot(picture, (dir / "Hopla").string(), t);
        EXPECT_EQ(saved.error, "");
        EXPECT_EQ(saved.path, (dir / "Hopla" / name).string());
        EXPECT_GT(fs::file_size(saved.path), 8u);
    }
    EXPECT_EQ(fs::file_size(dir / "Hopla" / "hopla-2026-12-08-09-05-07-2.png"), 4u);
    // A folder that cannot be made is one line, nothing thrown.
    std::ofstream(dir / "file") << "x";
    const SavedScreenshot failed = SaveScreenshot(picture, (dir / "file" / "Hopla").string(), t);
    EXPECT_EQ(failed.path, "");
    EXPECT_NE(failed.error.find("cannot create"), std::string::npos) << failed.error;
    fs::remove_all(dir);
}

}  // namespace
}  // namespace hopla
