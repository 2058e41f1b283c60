// A demo in memory: the seed, where play began, every input at its point, the check lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/StateCheck.h"

namespace hopla {

// What a demo records the runner delivering to the game.
enum class InputKind { KeyDown, KeyUp, Mouse, Close };

// One input. `point` is how many handlers had run when it was delivered (Game::handlersRun):
// playing it back at the same point runs the same handlers in the same order, whatever the
// wall clock did. `ms` is the game clock's time then, whole milliseconds; it only paces
// playback where nothing else runs (a ball waiting on a launcher, the final screen).
struct DemoInput {
    std::uint64_t point = 0;
    std::int64_t ms = 0;
    InputKind kind = InputKind::KeyDown;
    int code = 0;  // virtual-key code (keys), button 1, 2 or 4 (mouse); 0 for a close
    bool operator==(const DemoInput&) const = default;
};

// The game's state after `point` handlers: taken at the start, after every handler that
// changed the stage, and at the end.
struct DemoCheck {
    std::uint64_t point = 0;
    std::int64_t ms = 0;
    StateCheck state;
    bool operator==(const DemoCheck&) const = default;
};

// The stages a demo was recorded on when they were not the game's own: the stage file's name
// (its file name without ".stages") and the hash of the whole stage table (StageTableHash).
struct DemoStages {
    std::string name;
    std::uint64_t hash = 0;
    bool operator==(const DemoStages&) const = default;
};

// Who played the game a demo holds: a person at the window, the solver, a script of hopla-sim,
// or a person with an assist (the game slowed down), whose games are kept apart from the rest.
enum class DemoMaker { Person, Solver, Script, Assisted };

// The program that wrote a demo: its name ("hopla", "hopla-sim", "hopla-solve"), its version,
// the build's target ("linux", "windows", "web") and who played. A demo of format 1 says none.
struct DemoOrigin {
    std::string program;
    std::string version;
    std::string target;
    DemoMaker maker = DemoMaker::Person;
    bool operator==(const DemoOrigin&) const = default;
};

// The made line's words for a maker and for the targets, and the maker of a word.
std::string_view MakerWord(DemoMaker maker);
std::optional<DemoMaker> MakerOfWord(std::string_view word);
bool IsTargetWord(std::string_view word);

struct Demo {
    std::uint32_t seed = 0;
    std::optional<DemoOrigin> origin;  // none: a demo of format 1, which does not say
    std::optional<int> startStage;     // none: play begins at start-up, with the title
    std::optional<DemoStages> stages;  // none: the game's own stages
    std::vector<DemoInput> inputs;     // in order of point
    std::vector<DemoCheck> checks;     // in order of point; the first at 0, the last at the end
    std::uint64_t endPoint = 0;        // handlers run when the recording ended
    std::int64_t endMs = 0;
    bool operator==(const Demo&) const = default;
};

// The format's first line; a reader refuses newer versions. Version 2 adds the made line; a
// demo without an origin is still written as version 1, as it always was.
inline constexpr std::string_view kDemoMagic = "hopla-demo";
inline constexpr int kDemoVersion = 2;

// The check line fields, for messages: "stage", "balls", "score", "timers", "record",
// "labels", "display", "back", "dark", "chip", "endchip". The first that differs, or none.
std::optional<std::string_view> FirstDifference(const StateCheck& recorded,
                                                const StateCheck& played);
// The value of one field as the demo file writes it.
std::string FieldText(const StateCheck& check, std::string_view field);

}  // namespace hopla
