// Running the judge's search on a thread and reporting as it goes.
#include "editor/StageCheck.h"

#include "solve/Judge.h"

namespace hopla {

StageCheck::~StageCheck() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool StageCheck::start(const StageFile& stages, int stage) {
    if (running_) return false;
    if (thread_.joinable()) thread_.join();
    running_ = true;
    setLine("Checking stage " + std::to_string(stage) + " with the solver...");
    thread_ = std::thread([this, stages, stage] {
        JudgeOptions options;
        options.stop = &stop_;
        const StageResult r = JudgeStage(stages, stage, options, [&](int t, int beam) {
            setLine("Checking stage " + std::to_string(stage) + ": search " + std::to_string(t) +
                    " of 3 (beam " + std::to_string(beam) + ")...");
        });
        setLine(r.solved
                    ? "Stage " + std::to_string(stage) + " cleared by the solver in " +
                          std::to_string(r.ticks) + " ticks (none under " +
                          std::to_string(r.bound) + ")"
                    : "Stage " + std::to_string(stage) + " not cleared within the solver's search");
        running_ = false;
    });
    return true;
}

std::string StageCheck::line() const {
    std::lock_guard lock(mutex_);
    return line_;
}

void StageCheck::setLine(std::string line) {
    std::lock_guard lock(mutex_);
    line_ = std::move(line);
}

}  // namespace hopla
