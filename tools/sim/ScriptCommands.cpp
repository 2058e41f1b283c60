// The command table of hopla-sim's scripts and the handler of each command.
#include "tools/sim/ScriptCommands.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Keys.h"
#include "tools/sim/Json.h"
#include "tools/sim/Script.h"
#include "tools/sim/StateFields.h"
#include "tools/sim/StateJson.h"

namespace hopla {

namespace {

constexpr double kMaxCoordinate = 1e9;   // keeps rounding a coordinate inside int
constexpr std::size_t kHelpColumn = 25;  // where the usage's help texts begin

}  // namespace

// The handlers, one per command; a friend of the runner, whose game and output they use.
class ScriptCommandHandlers {
  public:
    static void at(ScriptRunner& r, Words& words) {
        const double t = NumberArg(words, "time", 0, r.timeLimitMs);
        words.expectEnd();
        r.startRecording();
        r.sim_.runUntil(t);
    }

    static void wait(ScriptRunner& r, Words& words) {
        const double d = NumberArg(words, "duration", 0, r.timeLimitMs - r.sim_.nowMs());
        words.expectEnd();
        r.startRecording();
        r.sim_.runFor(d);
    }

    static void key(ScriptRunner& r, Words& words) {
        const std::string_view direction = words.next("'down' or 'up'");
        if (direction != "down" && direction != "up") {
            throw BadLine("expected 'key down' or 'key up', not '" + std::string(direction) + "'");
        }
        const int code = static_cast<int>(IntegerArg(words, "key code", 0, kLastKeyCode));
        words.expectEnd();
        r.input(direction == "down" ? InputKind::KeyDown : InputKind::KeyUp, code);
    }

    static void mouse(ScriptRunner& r, Words& words) {
        const int button = static_cast<int>(IntegerArg(words, "button", kMouseLeft, kMouseMiddle));
        words.expectEnd();
        if (!IsMouseButton(button)) throw BadLine("no mouse button 3 (1 left, 2 right, 4 middle)");
        r.input(InputKind::Mouse, button);
    }

    static void stage(ScriptRunner& r, Words& words) {
        const int n = static_cast<int>(IntegerArg(words, "stage", 0, kTitleStage));
        words.expectEnd();
        if (r.demoOut_) {
            if (r.recorder_ || r.demoStage_)
                throw BadLine("a demo can only begin at a stage: 'stage' must come first");
            r.demoStage_ = n;
        }
        r.sim_.startStage(n);
    }

    static void set(ScriptRunner& r, Words& words) {
        if (r.demoOut_) throw BadLine("a demo holds only input: 'set' cannot be recorded");
        const std::string_view name = words.next("variable name");
        const StateField* field = FindStateField(name);
        if (!field) throw BadLine("no variable '" + std::string(name) + "'");
        std::vector<long long> indices;
        for (int i = 0; i < field->indexCount; ++i) {
            indices.push_back(IntegerArg(words, "index", 0, std::numeric_limits<int>::max()));
        }
        const std::string_view value = words.takeRest();
        if (value.empty()) throw BadLine("missing value for " + std::string(name));
        const std::string error = field->set(r.sim_.state(), indices, value);
        if (!error.empty()) throw BadLine(std::string(name) + ": " + error);
    }

    static void state(ScriptRunner& r, Words& words) {
        bool full = false;
        if (!words.empty()) {
            const std::string_view word = words.next("'full'");
            if (word != "full") throw BadLine("expected 'state' or 'state full'");
            full = true;
        }
        words.expectEnd();
        r.printLine(StateLine(r.sim_.nowMs(), r.sim_.form(), r.sim_.state(), full));
    }

    static void trace(ScriptRunner& r, Words& words) {
        const std::string_view mode = words.next("'on' or 'off'");
        if (mode != "on" && mode != "off") throw BadLine("expected 'trace on' or 'trace off'");
        words.expectEnd();
        r.trace_ = mode == "on";
    }

    static void pixel(ScriptRunner& r, Words& words) {
        const double x = NumberArg(words, "x", -kMaxCoordinate, kMaxCoordinate);
        const double y = NumberArg(words, "y", -kMaxCoordinate, kMaxCoordinate);
        words.expectEnd();
        JsonWriter json;
        json.beginObject();
        json.key("t").real(r.sim_.nowMs());
        json.key("x").real(x);
        json.key("y").real(y);
        json.key("color").integer(r.sim_.form().Display.point(x, y));
        json.endObject();
        r.printLine(json.str());
    }

    static void shot(ScriptRunner& r, Words& words) {
        const std::string path = TextArg(words, "file name");
        try {
            r.saveShot(r.sim_.form().Display.image(), path);
        } catch (const std::runtime_error& e) {
            throw CommandFailed(e.what());
        }
    }
};

namespace {

using H = ScriptCommandHandlers;

// A later command is one more row here and one more handler above.
constexpr std::array kCommands = {
    ScriptCommand{"at", "T", "run the ticks due up to T ms / D ms on", H::at},
    ScriptCommand{"wait", "D", "", H::wait},
    ScriptCommand{"key", "down|up CODE", "a key with that virtual-key code", H::key},
    ScriptCommand{"mouse", "BUTTON", "a press on the playfield (1 left, 2 right, 4 middle)",
                  H::mouse},
    ScriptCommand{"stage", "N", "start stage N (0..20; 21 the ending)", H::stage},
    ScriptCommand{"set", "NAME [I [J]] V",
                  "set a variable (entry) of the game state, within the values\n"
                  "the game itself gives it",
                  H::set},
    ScriptCommand{"state", "[full]", "print the state (full: with every array)", H::state},
    ScriptCommand{"trace", "on|off", "print the state after every handler", H::trace},
    ScriptCommand{"pixel", "X Y", "print the colour of the playfield at (X, Y)", H::pixel},
    ScriptCommand{"shot", "FILE", "save the window's picture as PNG", H::shot},
};

}  // namespace

const ScriptCommand* FindScriptCommand(std::string_view name) {
    for (const ScriptCommand& command : kCommands)
        if (command.name == name) return &command;
    return nullptr;
}

std::string ScriptCommandsUsage() {
    std::string text;
    for (std::size_t i = 0; i < kCommands.size();) {
        const std::string_view help = kCommands[i].help;
        // The rows after it without help of their own share its line.
        std::string left = " ";
        do {
            left.append(left.size() > 1 ? " | " : " ").append(kCommands[i].name);
            left.append(" ").append(kCommands[i].args);
        } while (++i < kCommands.size() && kCommands[i].help.empty());
        left.resize(std::max(left.size() + 1, kHelpColumn), ' ');
        text += left;
        for (const char c : help) {
            text += c;
            if (c == '\n') text.append(kHelpColumn, ' ');
        }
        text += '\n';
    }
    return text;
}

}  // namespace hopla
