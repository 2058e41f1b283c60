// Running hopla-sim's scripts: reading lines, handing each to its command, the output hooks.
#include "tools/sim/Script.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <string>

#include "app/Keys.h"
#include "shell/DemoOrigin.h"
#include "tools/sim/Json.h"
#include "tools/sim/PngWriter.h"
#include "tools/sim/ScriptCommands.h"
#include "tools/sim/ScriptLine.h"
#include "tools/sim/StateJson.h"

namespace hopla {
namespace {

enum class LineRead { kLine, kEnd, kTooLong, kFailed };

// One line of the script without its '\n', at most kMaxLineBytes long; a last line without
// '\n' counts. A failed read ends in kFailed, not in what looks like the end of the script.
LineRead ReadLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (in.bad() || !buffer) return LineRead::kFailed;
    if (!in.good()) return LineRead::kEnd;
    try {
        for (;;) {
            const int c = buffer->sbumpc();
            if (c == std::char_traits<char>::eof()) {
                in.setstate(std::ios::eofbit);
                return line.empty() ? LineRead::kEnd : LineRead::kLine;
            }
            if (c == '\n') return LineRead::kLine;
            if (line.size() == kMaxLineBytes) return LineRead::kTooLong;
            line.push_back(static_cast<char>(c));
        }
    } catch (const std::exception&) {
        return LineRead::kFailed;  // the file's read failed (a directory, an I/O error)
    }
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ScriptRunner::ScriptRunner(SimCore& sim, std::ostream& out, std::ostream& err)
    : saveShot(WritePng), sim_(sim), out_(out), err_(err) {
    observation_ = sim_.game().observe([this](std::string_view name) { afterHandler(name); });
    sim_.sound().onCall = [this](const RecordingSound::Call& call) {
        JsonWriter json;
        json.beginObject();
        json.key("t").real(SimCore::ToMs(call.at));
        if (call.path) {
            json.key("sound").string(FileNameOf(*call.path));
        } else {
            json.key("sound").null();
        }
        json.key("wait").boolean(call.wait);
        json.endObject();
        printLine(json.str());
    };
}

ScriptRunner::~ScriptRunner() {
    recorder_.reset();
    observation_.reset();
    sim_.sound().onCall = nullptr;
}

void ScriptRunner::recordTo(std::ostream& demo, std::uint32_t seed,
                            const std::optional<DemoStages>& stages) {
    demoStages_ = stages;
    demoOut_ = &demo;
    demoSeed_ = seed;
}

void ScriptRunner::startRecording() {
    if (demoOut_ && !recorder_)
        recorder_ = std::make_unique<Recorder>(sim_.game(), sim_.clock(), demoSeed_, demoStage_,
                                               ThisProgram("hopla-sim", DemoMaker::Script),
                                               *demoOut_, demoStages_);
}

void ScriptRunner::finishRecording() {
    startRecording();
    if (recorder_) recorder_->finish();
}

void ScriptRunner::input(InputKind kind, int code) {
    startRecording();
    if (recorder_) {
        recorder_->deliver(kind, code);
    } else {
        Deliver(sim_.game(), kind, code);
    }
}

void ScriptRunner::printLine(const std::string& json) {
    out_ << json << '\n';
}

bool ScriptRunner::outputWritten(int lineNumber) {
    errno = 0;
    out_.flush();
    if (out_) return true;
    // The write that failed set errno, unless it failed before this line's flush.
    err_ << "hopla-sim: line " << lineNumber << ": cannot write the output"
         << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
    return false;
}

void ScriptRunner::afterHandler(std::string_view name) {
    if (trace_) printLine(StateLine(sim_.nowMs(), sim_.form(), sim_.state(), false, name));
    if (sim_.game().ended() && !endedAt_) endedAt_ = sim_.nowMs();
}

int ScriptRunner::run(std::istream& script) {
    std::string line;
    for (int number = 1;; ++number) {
        const LineRead read = ReadLine(script, line);
        if (read == LineRead::kEnd) break;
        if (read == LineRead::kFailed) {
            out_.flush();
            err_ << "hopla-sim: line " << number << ": cannot read the script\n";
            return kScriptFailed;
        }
        if (read == LineRead::kTooLong) {
            out_.flush();
            err_ << "hopla-sim: line " << number << ": longer than " << kMaxLineBytes << " bytes\n";
            return kScriptBadLine;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        try {
            execute(line);
        } catch (const BadLine& bad) {
            out_.flush();
            err_ << "hopla-sim: line " << number << ": " << bad.what() << '\n';
            return kScriptBadLine;
        } catch (const CommandFailed& failed) {
            out_.flush();
            err_ << "hopla-sim: line " << number << ": " << failed.what() << '\n';
            return kScriptFailed;
        } catch (const std::exception& e) {
            // A handler met a record the game itself never produces (a `set` out of range).
            out_.flush();
            err_ << "hopla-sim: line " << number << ": the game stopped: " << e.what() << '\n';
            return kScriptFailed;
        }
        if (endedAt_) {
            JsonWriter json;
            json.beginObject();
            json.key("t").real(*endedAt_);
            json.key("event").string("end");
            json.endObject();
            printLine(json.str());
            finishRecording();
            return outputWritten(number) ? kScriptDone : kScriptFailed;
        }
        if (!outputWritten(number)) return kScriptFailed;
    }
    finishRecording();
    return kScriptDone;
}

void ScriptRunner::execute(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') return;  // blank or comment
    Words words(line);
    const std::string_view name = words.next("command");
    const ScriptCommand* command = FindScriptCommand(name);
    if (!command) throw BadLine("unknown command '" + std::string(name) + "'");
    command->run(*this, words);
}

int RunScript(SimCore& sim, std::istream& script, std::ostream& out, std::ostream& err) {
    ScriptRunner runner(sim, out, err);
    return runner.run(script);
}

}  // namespace hopla
