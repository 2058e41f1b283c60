// Choosing the run the ghost replays on each stage.
#include "headless/GhostRuns.h"

namespace hopla {

GhostRuns::GhostRuns(std::shared_ptr<const Demo> game, StageRuns stages, std::string exeDir,
                     RecordingSound::WaveLength waveLength, const StageFile* stageFile)
    : game_(std::move(game)),
      stages_(std::move(stages)),
      exeDir_(std::move(exeDir)),
      waveLength_(std::move(waveLength)) {
    if (stageFile) stageFile_ = *stageFile;
}

std::optional<GhostPoint> GhostRuns::at(int stage, int ticks, std::size_t budget) {
    if (stage < 0 || stage >= static_cast<int>(stages_.size())) return std::nullopt;
    const std::shared_ptr<const Demo>& run =
        stageBests_ ? stages_[static_cast<std::size_t>(stage)] : game_;
    if (!run) return std::nullopt;
    if (!ghost_ || ghost_->run() != run)
        ghost_ =
            std::make_unique<Ghost>(run, exeDir_, waveLength_, stageFile_ ? &*stageFile_ : nullptr);
    return ghost_->at(stage, ticks, budget);
}

}  // namespace hopla
