// The name table over the game state record, built from member pointers so that the JSON
// output and the script's `set` command see the same names, shapes and types.
#include "tools/sim/StateFields.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

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

// Integers: plain decimal, no sign other than '-', within the variable's own range.
template <std::integral T>
std::string Parse(std::string_view text, T& out) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    const bool whole = result.ptr == end && !text.empty();
    if (result.ec == std::errc::result_out_of_range && whole) return "value out of range";
    if (result.ec != std::errc() || !whole) return "not an integer: '" + std::string(text) + "'";
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
        return "value out of range " + std::to_string(std::numeric_limits<T>::min()) + ".." +
               std::to_string(std::numeric_limits<T>::max());
    }
    out = static_cast<T>(value);
    return {};
}

// Reals: decimal or exponent notation, finite, within the variable's precision's range.
template <std::floating_point T>
std::string Parse(std::string_view text, T& out) {
    T value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    const bool whole = result.ptr == end && !text.empty();
    if (result.ec == std::errc::result_out_of_range && whole) return "value out of range";
    if (result.ec != std::errc() || !whole || !std::isfinite(value)) {
        return "not a finite number: '" + std::string(text) + "'";
    }
    out = value;
    return {};
}

// Texts: the rest of the line as it stands, or a JSON string literal when it starts with a
// quote (for empty texts, surrounding spaces and escapes).
std::string Parse(std::string_view text, std::string& out) {
    if (!text.empty() && text.front() == '"') {
        std::optional<std::string> decoded = ParseJsonString(text);
        if (!decoded) return "malformed quoted text: " + std::string(text);
        out = std::move(*decoded);
    } else {
        out = std::string(text);
    }
    return {};
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
std::string SetAt(T& target, std::span<const long long> indices, std::string_view text) {
    if constexpr (ArrayTraits<T>::kDims > 0) {
        const long long i = indices.front();
        if (i < 0 || i >= static_cast<long long>(target.size())) {
            return "index " + std::to_string(i) + " out of range 0.." +
                   std::to_string(target.size() - 1);
        }
        return SetAt(target[static_cast<std::size_t>(i)], indices.subspan(1), text);
    } else {
        T value{};
        std::string error = Parse(text, value);
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

// One variable; `shown` limits how many entries of its first index are printed.
template <auto Member>
StateField Field(std::string_view name, bool fullOnly = false, std::size_t shown = SIZE_MAX) {
    using T = std::remove_cvref_t<decltype(std::declval<GameState&>().*Member)>;
    return {
        name,
        fullOnly,
        ArrayTraits<T>::kDims,
        IsText<T>(),
        [shown](JsonWriter& json, const GameState& state) { Write(json, state.*Member, shown); },
        [](GameState& state, std::span<const long long> indices, std::string_view text) {
            return SetAt(state.*Member, indices, text);
        }};
}

const std::vector<StateField>& Table() {
    constexpr bool kFull = true;
    static const std::vector<StateField> table = {
        Field<&GameState::StageNo>("StageNo"),
        Field<&GameState::BallsLeft>("BallsLeft"),
        Field<&GameState::BallState>("BallState"),
        Field<&GameState::TrailX>("TrailX", false, 4),  // entries 4..9 are never used
        Field<&GameState::TrailY>("TrailY", false, 4),
        Field<&GameState::SpeedX>("SpeedX"),
        Field<&GameState::SpeedY>("SpeedY"),
        Field<&GameState::BallColor>("BallColor"),
        Field<&GameState::BallInterval>("BallInterval"),
        Field<&GameState::HeldKey>("HeldKey"),
        Field<&GameState::WallHitSpeed>("WallHitSpeed"),
        Field<&GameState::LauncherX>("LauncherX"),
        Field<&GameState::LauncherY>("LauncherY"),
        Field<&GameState::ProbeColor>("ProbeColor"),
        Field<&GameState::Tick>("Tick"),
        Field<&GameState::LoopX>("LoopX"),
        Field<&GameState::EndPhase>("EndPhase"),
        Field<&GameState::Score>("Score"),
        Field<&GameState::ScoreCode>("ScoreCode"),
        Field<&GameState::StageTime>("StageTime"),
        Field<&GameState::TypingRow>("TypingRow"),
        Field<&GameState::SoundDir>("SoundDir"),
        Field<&GameState::StageMap>("StageMap", kFull),
        Field<&GameState::StartX>("StartX", kFull),
        Field<&GameState::StartY>("StartY", kFull),
        Field<&GameState::TileGrid>("TileGrid", kFull),
        Field<&GameState::BandOrder>("BandOrder", kFull),
        Field<&GameState::CellOrderX>("CellOrderX", kFull),
        Field<&GameState::CellOrderY>("CellOrderY", kFull),
        Field<&GameState::TypingSteps>("TypingSteps", kFull),
        Field<&GameState::KeyDirection>("KeyDirection", kFull),
    };
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
