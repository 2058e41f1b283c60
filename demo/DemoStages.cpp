// Hashing the table a stage file makes, matching a demo's stages line.
#include "demo/DemoStages.h"

#include <cstdio>
#include <memory>

#include "stage/StageData.h"
#include "toolkit/Escape.h"

namespace hopla {
namespace {

std::string Hex(std::uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

}  // namespace

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
    return "needs the stages " + name + " (hash " + Hex(demo.stages->hash) + ")";
}

}  // namespace hopla
