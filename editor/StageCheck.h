// The editor's check: the solver's search on one stage, on a thread of its own, with what it is
// doing as a line of text.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "stage/StageFile.h"

namespace hopla {

// One check at a time. The search runs on a headless game of its own (its own clock, sound
// device and text renderer), on a copy of the stages, so the editor goes on meanwhile.
// Destruction stops a running search at its next tick and waits for it.
class StageCheck {
  public:
    StageCheck() = default;
    ~StageCheck();
    StageCheck(const StageCheck&) = delete;
    StageCheck& operator=(const StageCheck&) = delete;

    // Starts checking `stage` of `stages`; false when a check is running already.
    bool start(const StageFile& stages, int stage);
    bool running() const { return running_; }
    // The line to show: progress while running, then the verdict; empty before the first.
    std::string line() const;

  private:
    void setLine(std::string line);

    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::string line_;
};

}  // namespace hopla
