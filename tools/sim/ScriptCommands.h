// hopla-sim's commands as a table: each row names a command, the arguments it takes and the
// handler that reads them and runs it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tools/sim/ScriptLine.h"

namespace hopla {

class ScriptRunner;

struct ScriptCommand {
    std::string_view name;  // "at"
    std::string_view args;  // as the usage shows them: "T", "down|up CODE"
    // What it does, for the usage; empty for a command shown on the line of the one before.
    std::string_view help;
    // Reads the arguments from `words` (a BadLine when they are wrong) and runs the command.
    void (*run)(ScriptRunner& runner, Words& words);
};

// The command named `name`, or none. Called by ScriptRunner for each line.
const ScriptCommand* FindScriptCommand(std::string_view name);

// The commands' lines of hopla-sim's usage, made from the same table.
std::string ScriptCommandsUsage();

}  // namespace hopla
