// The game state record by name: each variable's JSON output and its setter from script text.
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
    // Writes the variable as a JSON value: a number, a text, or arrays nested in index order.
    std::function<void(JsonWriter&, const GameState&)> write;
    // Stores `value` (script text) at the entry `indices` selects (indexCount of them).
    // Returns what is wrong, or an empty text when the value was stored; a rejected value
    // leaves the record unchanged.
    std::function<std::string(GameState&, std::span<const long long> indices,
                              std::string_view value)>
        set;
};

// Every variable of the record, in the order the state line prints them.
std::span<const StateField> StateFields();
// The variable with that exact name, or none.
const StateField* FindStateField(std::string_view name);

}  // namespace hopla
