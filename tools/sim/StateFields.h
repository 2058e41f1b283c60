// The game state record by name: each variable's JSON output, its range and its setter from
// script text.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "form/GameState.h"
#include "tools/sim/Json.h"

namespace hopla {

struct StateField {
    std::string_view name;
    bool fullOnly;   // an array printed only by `state full`
    int indexCount;  // 0 for a single value, else how many indices select one entry
    bool isText;     // its values are texts (the rest of a script line)
    // The values the game itself gives the variable (every entry of an array alike), with a
    // margin where play moves them: numbers min..max; texts UTF-8 without NUL, at most max bytes.
    double min;
    double max;
    // Writes the variable as a JSON value: a number, a text, or arrays nested in index order.
    std::function<void(JsonWriter&, const GameState&)> write;
    // Stores `value` (script text) at the entry `indices` selects (indexCount of them).
    // Returns what is wrong (a value out of range among it), or an empty text when the value
    // was stored; a rejected value leaves the record unchanged.
    std::function<std::string(GameState&, std::span<const long long> indices,
                              std::string_view value)>
        set;
    // What is out of the values the record may hold after play: the first such entry with its
    // value, or empty. That is min..max too, but for the ball's trail, which play can take
    // further (any finite value).
    std::function<std::string(const GameState&)> check;
};

// Every variable of the record, in the order the state line prints them.
std::span<const StateField> StateFields();
// The variable with that exact name, or none.
const StateField* FindStateField(std::string_view name);

}  // namespace hopla
