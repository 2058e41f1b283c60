// Finding a stage file by name, hashing the table it makes, matching a demo's stages line.
#include "demo/DemoStages.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "stage/StageData.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

#ifndef HOPLA_STAGES_FROM_EXE
#define HOPLA_STAGES_FROM_EXE "../../../share/games/hopla/stages"
#endif

namespace hopla {
namespace {

constexpr std::string_view kExtension = ".stages";

std::string Hex(std::uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

}  // namespace

std::vector<std::string> StageFileCandidates(std::string_view arg, const std::string& userDir,
                                             const std::string& exeDir) {
    std::vector<std::string> paths{std::string(arg)};
    if (arg.empty() || arg.find('/') != std::string_view::npos) return paths;
    std::string file(arg);
    if (!file.ends_with(kExtension)) file += kExtension;
    if (!userDir.empty()) paths.push_back(userDir + "/stages/" + file);
    paths.push_back(exeDir + HOPLA_STAGES_FROM_EXE + "/" + file);
    paths.push_back(exeDir + "stages/" + file);
    return paths;
}

ChosenStages LoadStages(std::string_view arg, const std::string& userDir,
                        const std::string& exeDir) {
    const std::vector<std::string> paths = StageFileCandidates(arg, userDir, exeDir);
    std::string path = paths.front();
    for (const std::string& candidate : paths) {
        std::error_code error;
        if (std::filesystem::exists(PathFromUtf8(candidate), error)) {
            path = candidate;
            break;
        }
    }
    ChosenStages chosen;
    chosen.file = ReadStageFile(path);
    chosen.path = path;
    const std::u8string file = PathFromUtf8(path).filename().u8string();
    std::string name(file.begin(), file.end());
    if (name.ends_with(kExtension) && name.size() > kExtension.size())
        name.resize(name.size() - kExtension.size());
    chosen.id = {name, StagesHash(&chosen.file)};
    return chosen;
}

std::uint64_t StagesHash(const StageFile* file) {
    // The table as start-up fills it; the record is large, so it lives on the heap.
    auto state = std::make_unique<GameState>();
    for (int stage = 0; stage < kStageCount; ++stage) {
        for (int row = 0; row < kStageRowCount; ++row)
            state->StageMap[stage][row] = std::string(kStageRows[stage][row]);
        state->StartX[stage] = kStartX[stage];
        state->StartY[stage] = kStartY[stage];
    }
    if (file) ApplyStages(*file, *state);
    return StageTableHash(*state);
}

std::optional<std::string> StagesRefusal(const Demo& demo,
                                         const std::optional<DemoStages>& played) {
    // The table decides, not the name: a file that holds the game's own stages plays its demos.
    const std::uint64_t own = StagesHash(nullptr);
    if ((played ? played->hash : own) == (demo.stages ? demo.stages->hash : own))
        return std::nullopt;
    if (!demo.stages)
        return "was recorded on the game's own stages, not on " + Escaped(played->name) +
               ": play it without --stages";
    const std::string name = Escaped(demo.stages->name);
    return "needs the stages " + name + " (hash " + Hex(demo.stages->hash) +
           "): play it with --stages " + name;
}

}  // namespace hopla
