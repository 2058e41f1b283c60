// The process pool: fork a task, reap the first to finish when all slots are taken.
#include "solve/ProcessPool.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "toolkit/Output.h"

namespace hopla {

std::optional<PoolResult> RunInProcesses(int count, int jobs, const std::function<int(int)>& task) {
    PoolResult result;
    int running = 0;
    auto reap = [&] {
        int st = 0;
        if (::wait(&st) > 0) {
            --running;
            const int code = WIFEXITED(st) ? WEXITSTATUS(st) : 2;
            result.status = std::max(result.status, code);
        }
    };
    for (int i = 0; i < count; ++i) {
        if (running == jobs) reap();
        std::cout.flush();
        const pid_t pid = ::fork();
        if (pid == 0) {
            // A line that did not arrive fails the process like its task.
            std::_Exit(CheckedOutput("hopla-solve", task(i)));
        }
        if (pid < 0) {
            std::cerr << "hopla-solve: cannot start a process: " << std::strerror(errno) << '\n';
            return std::nullopt;
        }
        ++running;
    }
    while (running > 0) reap();
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    result.processorSeconds =
        static_cast<double>(children.ru_utime.tv_sec + children.ru_stime.tv_sec) +
        1e-6 * static_cast<double>(children.ru_utime.tv_usec + children.ru_stime.tv_usec);
    return result;
}

}  // namespace hopla
