// The name table over the game state record, built from the record's field list so that the
// JSON output and the script's `set` command see the same names, shapes, types and ranges.
#include "tools/sim/StateFields.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "form/GameStateFields.h"
#include "toolkit/Numbers.h"

namespace hopla {
namespace {

template <typename T>
struct ArrayTraits {
    static constexpr int kDims = 0;
};
template <typename T, std::size_t N>
struct ArrayTraits<std::array<T, N>> {
    static constexpr int kDims = 1 + ArrayTraits<T>::kDims;
};
template <>
struct ArrayTraits<StageMapTable> {
    static constexpr int kDims = 1 + ArrayTraits<StageMapTable::value_type>::kDims;
};

std::string OutOfRange(std::string_view text, const Range& range) {
    return "value " + std::string(text) + " out of range " + JsonNumber(range.min) + ".." +
           JsonNumber(range.max);
}

std::string TextRule(const Range& range) {
    return "not a text of UTF-8 without NUL of at most " + JsonNumber(range.max) + " bytes";
}

bool FitsText(std::string_view text, const Range& range) {
    return static_cast<double>(text.size()) <= range.max &&
           text.find('\0') == std::string_view::npos && IsUtf8(text);
}

// Integers: plain decimal, no sign other than '-', within the variable's range.
template <std::integral T>
std::string Parse(std::string_view text, const Range& range, T& out) {
    bool tooLarge = false;
    const std::optional<long long> value = ParseNumber<long long>(text, &tooLarge);
    if (!value) {
        return tooLarge ? OutOfRange(text, range) : "not an integer: '" + std::string(text) + "'";
    }
    if (*value < range.min || *value > range.max) return OutOfRange(text, range);
    out = static_cast<T>(*value);
    return {};
}

// Reals: decimal or exponent notation, finite, within the variable's range.
template <std::floating_point T>
std::string Parse(std::string_view text, const Range& range, T& out) {
    bool tooLarge = false;
    const std::optional<T> value = ParseNumber<T>(text, &tooLarge);
    if (!value) {
        return tooLarge ? OutOfRange(text, range)
                        : "not a finite number: '" + std::string(text) + "'";
    }
    if (*value < range.min || *value > range.max) return OutOfRange(text, range);
    out = *value;
    return {};
}

// Texts: the rest of the line as it stands, or a JSON string literal when it starts with a
// quote (for empty texts, surrounding spaces and escapes).
std::string Parse(std::string_view text, const Range& range, std::string& out) {
    std::string value;
    if (!text.empty() && text.front() == '"') {
        std::optional<std::string> decoded = ParseJsonString(text);
        if (!decoded) return "malformed quoted text";
        value = std::move(*decoded);
    } else {
        value = std::string(text);
    }
    if (!FitsText(value, range)) return TextRule(range);
    out = std::move(value);
    return {};
}

// Whether every entry of `value` is in range. If not, `at` holds the indices of the first entry
// out of it and `wrong` says what is wrong with it (built only then: the soak checks the whole
// record after every handler).
template <typename T>
bool InRange(const T& value, const Range& range, std::vector<std::size_t>& at, std::string& wrong) {
    if constexpr (ArrayTraits<T>::kDims > 0) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (!InRange(value[i], range, at, wrong)) {
                at.insert(at.begin(), i);
                return false;
            }
        }
        return true;
    } else if constexpr (std::is_same_v<T, std::string>) {
        if (FitsText(value, range)) return true;
        wrong = TextRule(range);
        return false;
    } else {
        const auto number = static_cast<double>(value);
        if (number >= range.min && number <= range.max) return true;  // false for NaN
        wrong = OutOfRange(JsonNumber(number), range);
        return false;
    }
}

template <typename T>
void Write(JsonWriter& json, const T& value, std::size_t shown = SIZE_MAX) {
    if constexpr (ArrayTraits<T>::kDims > 0) {
        json.beginArray();
        for (std::size_t i = 0; i < value.size() && i < shown; ++i) Write(json, value[i]);
        json.endArray();
    } else if constexpr (std::is_same_v<T, std::string>) {
        json.string(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        json.real(value);
    } else {
        json.integer(value);
    }
}

template <typename T>
std::string SetAt(T& target, std::span<const long long> indices, const Range& range,
                  std::string_view text) {
    if constexpr (ArrayTraits<T>::kDims > 0) {
        const long long i = indices.front();
        if (i < 0 || i >= static_cast<long long>(target.size())) {
            return "index " + std::to_string(i) + " out of range 0.." +
                   std::to_string(target.size() - 1);
        }
        return SetAt(target[static_cast<std::size_t>(i)], indices.subspan(1), range, text);
    } else {
        T value{};
        std::string error = Parse(text, range, value);
        if (error.empty()) target = std::move(value);
        return error;
    }
}

template <typename T>
constexpr bool IsText() {
    if constexpr (ArrayTraits<T>::kDims > 0) {
        return IsText<typename T::value_type>();
    } else {
        return std::is_same_v<T, std::string>;
    }
}

// Runs fn(member) on the variable of `state` that the field list visits `index`-th.
template <typename State, typename Fn>
void OnField(State& state, std::size_t index, Fn&& fn) {
    std::size_t i = 0;
    VisitFields(state, [&](const FieldInfo&, auto& member) {
        if (i++ == index) fn(member);
    });
}

// The entry of the table for the variable of type T that the field list visits `index`-th.
template <typename T>
StateField Field(const FieldInfo& info, std::size_t index) {
    return {info.name,
            false,
            ArrayTraits<T>::kDims,
            IsText<T>(),
            info.range.min,
            info.range.max,
            [index, shown = info.used](JsonWriter& json, const GameState& state) {
                OnField(state, index, [&](const auto& value) { Write(json, value, shown); });
            },
            [index, range = info.range](GameState& state, std::span<const long long> indices,
                                        std::string_view text) {
                std::string error;
                OnField(state, index,
                        [&](auto& value) { error = SetAt(value, indices, range, text); });
                return error;
            },
            [index, held = info.held, name = info.name](const GameState& state) {
                std::vector<std::size_t> at;
                std::string wrong;
                bool inRange = true;
                OnField(state, index,
                        [&](const auto& value) { inRange = InRange(value, held, at, wrong); });
                if (inRange) return std::string();
                std::string where(name);
                for (std::size_t i : at) where += " " + std::to_string(i);
                return where + ": " + wrong;
            }};
}

// The order of the state line: the play of the moment, then the score. `state full` adds the
// stage data and the tables after them.
constexpr std::string_view kLineOrder[] = {
    "StageNo",   "BallsLeft",  "BallState",    "TrailX",  "TrailY",       "SpeedX",
    "SpeedY",    "BallColor",  "BallInterval", "HeldKey", "WallHitSpeed", "LauncherX",
    "LauncherY", "ProbeColor", "Tick",         "LoopX",   "EndPhase",     "Score",
    "ScoreCode", "StageTime",  "TypingRow",    "SoundDir"};
constexpr std::string_view kFullOrder[] = {"StageMap",   "StartX",      "StartY",
                                           "TileGrid",   "BandOrder",   "CellOrderX",
                                           "CellOrderY", "TypingSteps", "KeyDirection"};

// The record's field list in the state line's order. A variable of the list that the state
// line does not place, or a name it places that the list lacks, is a fault of this file.
std::vector<StateField> Build() {
    std::vector<StateField> fields;
    const GameState shape;
    std::size_t index = 0;
    VisitFields(shape, [&](const FieldInfo& info, const auto& member) {
        fields.push_back(Field<std::remove_cvref_t<decltype(member)>>(info, index++));
    });
    std::vector<StateField> table;
    const auto place = [&](std::string_view name, bool fullOnly) {
        const auto found = std::find_if(fields.begin(), fields.end(),
                                        [&](const StateField& f) { return f.name == name; });
        if (found == fields.end())
            throw std::logic_error("the state line places " + std::string(name) +
                                   ", which the record's field list lacks");
        table.push_back(std::move(*found));
        table.back().fullOnly = fullOnly;
        fields.erase(found);
    };
    for (std::string_view name : kLineOrder) place(name, false);
    for (std::string_view name : kFullOrder) place(name, true);
    if (!fields.empty())
        throw std::logic_error(std::string(fields.front().name) +
                               " of the record's field list has no place in the state line");
    return table;
}

const std::vector<StateField>& Table() {
    static const std::vector<StateField> table = Build();
    return table;
}

}  // namespace

std::span<const StateField> StateFields() {
    return Table();
}

const StateField* FindStateField(std::string_view name) {
    for (const StateField& field : Table()) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

}  // namespace hopla
