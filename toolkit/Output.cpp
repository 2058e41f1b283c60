// A failed write to standard output made an exit status and one line.
#include "toolkit/Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace hopla {

int CheckedOutput(std::string_view program, int status) {
    errno = 0;
    bool lost = !std::cout.flush();
    // A stream that failed earlier skips the flush; once more for the reason, when there is one.
    if (lost && errno == 0) {
        std::cout.clear();
        std::cout.flush();
    }
    int why = errno;
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        lost = true;
        if (why == 0) why = errno;
    }
    if (!lost || status != 0) return status;
    std::string line = std::string(program) + ": cannot write the output";
    if (why != 0) line += std::string(": ") + std::strerror(why);
    std::fprintf(stderr, "%s\n", line.c_str());
    return 1;
}

}  // namespace hopla
