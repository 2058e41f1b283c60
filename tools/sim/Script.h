// hopla-sim's script interpreter: one command a line in, JSON lines out.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "demo/Demo.h"
#include "demo/Recorder.h"
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

    // Records the run as a demo on `demo` (the game made with `seed`, nothing run yet): every
    // key and mouse command becomes an input line. A `stage` before the first command that
    // runs the game makes it a demo of that stage; a later `stage` and every `set` are bad
    // lines, since a demo holds nothing but input. Called before run().
    void recordTo(std::ostream& demo, std::uint32_t seed);

  private:
    void execute(std::string_view line);
    void input(InputKind kind, int code);
    void startRecording();
    void finishRecording();
    void afterHandler(std::string_view name);
    void printLine(const std::string& json);

    SimCore& sim_;
    std::ostream& out_;
    std::ostream& err_;
    bool trace_ = false;
    std::optional<double> endedAt_;  // virtual time at which the application ended

    // Recording a demo: where to, the seed, the stage it begins at, and the recorder once the
    // first command that runs the game made it.
    std::ostream* demoOut_ = nullptr;
    std::uint32_t demoSeed_ = 0;
    std::optional<int> demoStage_;
    std::unique_ptr<Recorder> recorder_;
};

// Convenience: a runner over `sim` for one script.
int RunScript(SimCore& sim, std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace hopla
