// hopla-sim's script interpreter: one command a line in, JSON lines out.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "headless/SimCore.h"

namespace hopla {

// Exit statuses of a script run.
inline constexpr int kScriptDone = 0;     // the script ran to its end, or the game ended
inline constexpr int kScriptFailed = 1;   // a command could not do its work (a shot file)
inline constexpr int kScriptBadLine = 2;  // a line is not a valid command

// Drives one simulated game. While the runner lives it owns the game's afterHandler hook and
// the sound's onCall hook (for trace lines, sound lines and noticing the end).
class ScriptRunner {
  public:
    ScriptRunner(SimCore& sim, std::ostream& out, std::ostream& err);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs the script's lines in order until its end, a bad line or the end of the
    // application, and returns the exit status. Errors go to `err` with their line number.
    int run(std::istream& script);

  private:
    void execute(std::string_view line);
    void afterHandler(std::string_view name);
    void printLine(const std::string& json);

    SimCore& sim_;
    std::ostream& out_;
    std::ostream& err_;
    bool trace_ = false;
    std::optional<double> endedAt_;  // virtual time at which the application ended
};

// Convenience: a runner over `sim` for one script.
int RunScript(SimCore& sim, std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace hopla
