// A small strict JSON reader for checking hopla-sim's output lines in tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hopla::testing {

// One parsed value. Numbers keep their source text so tests can check how they were written.
// Arrays hold their entries in items; objects hold their keys in order in keys() and the
// values in items, entry for entry.
struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string numberText;
    std::string text;
    std::vector<Json> items;
    std::vector<std::string> names;  // an object's keys

    // The member with that key; a test failure and a null value when it is missing.
    const Json& operator[](std::string_view key) const;
    const Json& operator[](std::size_t index) const;
    bool has(std::string_view key) const;
    const std::vector<std::string>& keys() const { return names; }
};

// None when the text is not exactly one valid JSON value (surrounding blanks allowed).
std::optional<Json> ParseJson(std::string_view text);

}  // namespace hopla::testing
