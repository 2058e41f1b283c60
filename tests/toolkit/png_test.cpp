// PNG shots: the file holds exactly the pixels, and `shot` saves what Display shows.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "shell/GameFiles.h"
#include "support/SimRun.h"
#include "tools/sim/PngWriter.h"

namespace hopla {
namespace {

// Reads a PNG back as 0x00RRGGBB pixels through libpng's simplified interface.
std::optional<Image> ReadPng(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = (rgb[3 * i] << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
    }
    return image;
}

class PngFile : public ::testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove(path_); }
    const std::string path_ = (std::filesystem::temp_directory_path() /
                               ("hopla-sim-test-" + std::to_string(::getpid()) + ".png"))
                                  .string();
};

TEST_F(PngFile, HoldsEveryPixelWithItsChannelsInPlace) {
    Image image(7, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) image.at(x, y) = (x * 36) << 16 | (y * 80) << 8 | 5;
    }
    image.at(6, 2) = 0x123456;
    WritePng(image, path_);
    const std::optional<Image> back = ReadPng(path_);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, image);
}

TEST_F(PngFile, AnUnwritablePathThrows) {
    EXPECT_THROW(WritePng(Image(2, 2), "/nonexistent-dir/x.png"), std::runtime_error);
    EXPECT_THROW(WritePng(Image(), path_), std::runtime_error);
}

TEST_F(PngFile, ShotSavesWhatDisplayShowsLabelsIncluded) {
    SimCore sim(1, HOPLA_BUILD_DIR, WaveFileLength);
    sim.form().Label1.setCaption("Shot");
    sim.form().Label1.setLeft(100);
    sim.form().Label1.setTop(50);
    sim.form().Label1.setVisible(true);
    sim.form().Display.repaintLabels();
    sim.form().Display.fillRect({400, 300, 401, 301}, 0xABCDEF);
    const testing::SimRun run = testing::SimulateOn(sim, "shot " + path_ + "\n");
    ASSERT_EQ(run.status, kScriptDone) << run.err;
    const std::optional<Image> shot = ReadPng(path_);
    ASSERT_TRUE(shot.has_value());
    EXPECT_EQ(shot->width, 800);
    EXPECT_EQ(shot->height, 600);
    EXPECT_EQ(shot->at(400, 300), 0xABCDEFu);
    EXPECT_EQ(*shot, sim.form().Display.image());
    int white = 0;  // the label's text
    for (int y = 50; y < 83; ++y) {
        for (int x = 100; x < 285; ++x) white += shot->at(x, y) == 0xFFFFFFu;
    }
    EXPECT_GT(white, 0);
}

TEST_F(PngFile, AShotThatCannotBeWrittenFailsWithStatus1) {
    const testing::SimRun run = testing::Simulate("state\nshot /nonexistent-dir/x.png\nstate\n");
    EXPECT_EQ(run.status, kScriptFailed);
    EXPECT_NE(run.err.find("line 2:"), std::string::npos) << run.err;
    EXPECT_EQ(run.lines.size(), 1u);
}

}  // namespace
}  // namespace hopla
