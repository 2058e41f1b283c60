// What a demo's made line says of the program writing it: its name, this build's version and
// system, and who plays.
#pragma once

#include <string_view>

#include "demo/Demo.h"

namespace hopla {

// `program` ("hopla", "hopla-sim", "hopla-solve") of this build, HOPLA_VERSION on
// BuildTarget(), played by `maker`. Every recorder's runner makes its origin with it.
DemoOrigin ThisProgram(std::string_view program, DemoMaker maker);

}  // namespace hopla
