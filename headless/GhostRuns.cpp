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

const std::shared_ptr<const Demo>& GhostRuns::runOf(int stage) const {
    static const std::shared_ptr<const Demo> kNone;
    if (stage < 0 || stage >= static_cast<int>(stages_.size())) return kNone;
    return stageBests_ ? stages_[static_cast<std::size_t>(stage)] : game_;
}

bool GhostRuns::ready(int stage, int ticks) const {
    const std::shared_ptr<const Demo>& run = runOf(stage);
    return !run || (ghost_ && ghost_->run() == run && !ghost_->restarts(stage, ticks));
}

void GhostRuns::make(int stage, int ticks) {
    const std::shared_ptr<const Demo>& run = runOf(stage);
    if (!run) return;
    if (ghost_ && ghost_->run() == run) {
        if (ghost_->restarts(stage, ticks)) ghost_->restart();
        return;
    }
    ghost_.reset();  // one game at a time
    ghost_ =
        std::make_unique<Ghost>(run, exeDir_, waveLength_, stageFile_ ? &*stageFile_ : nullptr);
}

std::optional<GhostPoint> GhostRuns::at(int stage, int ticks, std::size_t budget) {
    if (!runOf(stage)) return std::nullopt;
    make(stage, ticks);
    return ghost_->at(stage, ticks, budget);
}

}  // namespace hopla
