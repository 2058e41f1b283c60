// The command-line programs' last word on their standard output: did all they printed arrive?
#pragma once

#include <string_view>

namespace hopla {

// Flushes std::cout and C's stdout. When something printed on either did not arrive (a full
// disk, a closed descriptor), writes "PROGRAM: cannot write the output: WHY" on standard error
// and returns 1 in place of a `status` of 0; any other status is returned as it is. hopla,
// hopla-sim, hopla-solve and hopla-soak return through it from main.
int CheckedOutput(std::string_view program, int status);

}  // namespace hopla
