// The made line of this build.
#include "shell/DemoOrigin.h"

#include <string>

#include "platform/Platform.h"

namespace hopla {

DemoOrigin ThisProgram(std::string_view program, DemoMaker maker) {
    return {std::string(program), HOPLA_VERSION, std::string(BuildTarget()), maker};
}

}  // namespace hopla
