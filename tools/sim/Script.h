// hopla-sim's script interpreter: one command a line in, JSON lines out.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "demo/Demo.h"
#include "demo/Recorder.h"
#include "headless/SimCore.h"
#include "toolkit/Image.h"

namespace hopla {

// Exit statuses of a script run.
inline constexpr int kScriptDone = 0;     // the script ran to its end, or the game ended
inline constexpr int kScriptFailed = 1;   // a command could not do its work (a shot file),
                                          // or the script or the output failed
inline constexpr int kScriptBadLine = 2;  // a line is not a valid command

// The latest virtual time a script reaches, in ms (about three years). A record set from
// outside can leave a sequence counting on past its end, at most once every 160 ms; int holds
// such a count for ten years, and the clock's nanoseconds for far longer.
inline constexpr double kMaxScriptMs = 1e11;
// The longest line read, in bytes; a longer one (an endless line of /dev/zero, say) is a bad
// line instead of the whole memory.
inline constexpr std::size_t kMaxLineBytes = 1 << 20;

// Drives one simulated game. While the runner lives it observes the game's handlers and owns
// the sound's onCall hook (for trace lines, sound lines and noticing the end).
class ScriptRunner {
  public:
    ScriptRunner(SimCore& sim, std::ostream& out, std::ostream& err);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs the script's lines in order until its end, a bad line or the end of the
    // application, and returns the exit status. Errors go to `err` with their line number; a
    // script that cannot be read on, or output that cannot be written, fails the run.
    int run(std::istream& script);

    // Records the run as a demo on `demo` (the game made with `seed`, nothing run yet): every
    // key and mouse command becomes an input line. A `stage` before the first command that
    // runs the game makes it a demo of that stage; a later `stage` and every `set` are bad
    // lines, since a demo holds nothing but input. Called before run().
    // `stages` names the stage file the game was given, for the demo's header.
    void recordTo(std::ostream& demo, std::uint32_t seed,
                  const std::optional<DemoStages>& stages = std::nullopt);

    // The latest time `at` and `wait` may reach (the fuzzer keeps each input short).
    double timeLimitMs = kMaxScriptMs;
    // Saves `shot`'s picture under a file name; throws std::runtime_error when it cannot.
    std::function<void(const Image&, const std::string&)> saveShot;

  private:
    friend class ScriptCommandHandlers;  // the commands run the game and print through here

    void execute(std::string_view line);
    void input(InputKind kind, int code);
    void startRecording();
    void finishRecording();
    void afterHandler(std::string_view name);
    void printLine(const std::string& json);
    bool outputWritten(int lineNumber);

    SimCore& sim_;
    std::ostream& out_;
    std::ostream& err_;
    bool trace_ = false;
    std::optional<double> endedAt_;  // virtual time at which the application ended
    ObserverHandle observation_;

    // Recording a demo: where to, the seed, the stage it begins at, and the recorder once the
    // first command that runs the game made it.
    std::ostream* demoOut_ = nullptr;
    std::uint32_t demoSeed_ = 0;
    std::optional<int> demoStage_;
    std::optional<DemoStages> demoStages_;
    std::unique_ptr<Recorder> recorder_;
};

// Convenience: a runner over `sim` for one script.
int RunScript(SimCore& sim, std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace hopla
