// gen-assets OUTDIR: writes the tile sheet, the ending sheet, the eight sound files and the
// desktop icons and the web page's app icons (OUTDIR/icons).
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tools/gen-assets/BmpWriter.h"
#include "tools/gen-assets/EndingArt.h"
#include "tools/gen-assets/Icon.h"
#include "tools/gen-assets/Sounds.h"
#include "tools/gen-assets/TileSheet.h"
#include "tools/gen-assets/WavWriter.h"

namespace {

// The tile sheet's palette is limited to 26 colours; the ending sheet has exactly six.
constexpr std::size_t kMaxTileColors = 26;
constexpr std::size_t kEndingColors = 6;

bool Write(const std::string& dir, const std::string& name,
           const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    if (!hopla::gen::WriteFile(path, bytes)) {
        std::fprintf(stderr, "gen-assets: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-assets OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];

    const hopla::gen::IndexedCanvas tiles = hopla::gen::PaintTileSheet();
    if (tiles.palette().size() > kMaxTileColors) {
        std::fprintf(stderr, "gen-assets: the tile sheet uses %zu colours, at most %zu allowed\n",
                     tiles.palette().size(), kMaxTileColors);
        return 1;
    }
    const hopla::gen::IndexedCanvas ending = hopla::gen::PaintEndingSheet();
    if (ending.palette().size() != kEndingColors) {
        std::fprintf(stderr, "gen-assets: the ending sheet uses %zu colours, not %zu\n",
                     ending.palette().size(), kEndingColors);
        return 1;
    }
    bool ok = Write(dir, "tiles.bmp", hopla::gen::EncodeIndexedBmp(tiles, 8));
    ok = Write(dir, "ending.bmp", hopla::gen::EncodeIndexedBmp(ending, 4)) && ok;
    for (const hopla::gen::NamedSound& sound : hopla::gen::MakeSounds())
        ok = Write(dir, sound.file, hopla::gen::EncodeWav(sound.samples)) && ok;

    std::error_code error;
    std::filesystem::create_directories(dir + "/icons", error);
    std::vector<int> sizes(std::begin(hopla::gen::kIconSizes), std::end(hopla::gen::kIconSizes));
    sizes.insert(sizes.end(), std::begin(hopla::gen::kWebIconSizes),
                 std::end(hopla::gen::kWebIconSizes));
    for (int size : sizes) {
        const std::string name = "icons/hopla-" + std::to_string(size) + ".png";
        try {
            ok = Write(dir, name, hopla::gen::IconPng(size)) && ok;
        } catch (const std::runtime_error& e) {
            std::fprintf(stderr, "gen-assets: cannot encode %s: %s\n", name.c_str(), e.what());
            ok = false;
        }
    }
    // The file types' icons, for the Windows installer.
    const std::pair<hopla::gen::Document, const char*> documents[] = {
        {hopla::gen::Document::Demo, "demo"}, {hopla::gen::Document::Stages, "stages"}};
    for (const auto& [kind, type] : documents) {
        for (int size : hopla::gen::kIconSizes) {
            const std::string name =
                "icons/document-" + std::string(type) + "-" + std::to_string(size) + ".png";
            try {
                ok = Write(dir, name, hopla::gen::DocumentIconPng(kind, size)) && ok;
            } catch (const std::runtime_error& e) {
                std::fprintf(stderr, "gen-assets: cannot encode %s: %s\n", name.c_str(), e.what());
                ok = false;
            }
        }
    }
    const std::string svg = hopla::gen::IconSvg();
    ok = Write(dir, "icons/hopla.svg", std::vector<std::uint8_t>(svg.begin(), svg.end())) && ok;
    return ok ? 0 : 1;
}
