// Running numbered tasks in processes of their own, a few at a time (fork and wait; Linux).
#pragma once

#include <functional>
#include <optional>

namespace hopla {

// What a pool of processes did.
struct PoolResult {
    int status = 0;               // the worst exit status; 2 for one that did not exit
    double processorSeconds = 0;  // user and system time of all the processes
};

// Runs task(0) .. task(count - 1), each in a forked process that exits with what the task
// returns, at most `jobs` at once, and waits for them all. Standard output is flushed before
// each fork and in each process before it exits, so every line is printed once. None when a
// process cannot be started, after saying so on standard error (those running are left to
// finish on their own). Called by hopla-solve --all, one task a stage.
std::optional<PoolResult> RunInProcesses(int count, int jobs, const std::function<int(int)>& task);

}  // namespace hopla
