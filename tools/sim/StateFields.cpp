// The name table over the game state record, built from member pointers so that the JSON
// output and the script's `set` command see the same names, shapes and types.
#include "tools/sim/StateFields.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "play/Input.h"
#include "stage/StageData.h"
#include "toolkit/Color.h"
#include "tools/sim/Numbers.h"

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

// The values a variable may be given.
struct Range {
    double min;
    double max;
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

template <typename T>
struct EntryOf {
    using Type = T;
};
template <typename T, std::size_t N>
struct EntryOf<std::array<T, N>> {
    using Type = typename EntryOf<T>::Type;
};
template <>
struct EntryOf<StageMapTable> {
    using Type = typename EntryOf<StageMapTable::value_type>::Type;
};

// One variable that takes `range`; `shown` limits how many entries of its first index are
// printed; `held`, when given, is what the record may hold after play instead.
template <auto Member>
StateField Field(std::string_view name, Range range, bool fullOnly = false,
                 std::size_t shown = SIZE_MAX, std::optional<Range> held = std::nullopt) {
    using T = std::remove_cvref_t<decltype(std::declval<GameState&>().*Member)>;
    using Entry = typename EntryOf<T>::Type;
    if constexpr (std::is_integral_v<Entry>) {
        if (range.min < std::numeric_limits<Entry>::min() ||
            range.max > std::numeric_limits<Entry>::max())
            throw std::logic_error("the range of " + std::string(name) + " exceeds its type");
    }
    return {
        name,
        fullOnly,
        ArrayTraits<T>::kDims,
        IsText<T>(),
        range.min,
        range.max,
        [shown](JsonWriter& json, const GameState& state) { Write(json, state.*Member, shown); },
        [range](GameState& state, std::span<const long long> indices, std::string_view text) {
            return SetAt(state.*Member, indices, range, text);
        },
        [held = held.value_or(range), name](const GameState& state) {
            std::vector<std::size_t> at;
            std::string wrong;
            if (InRange(state.*Member, held, at, wrong)) return std::string();
            std::string where(name);
            for (std::size_t i : at) where += " " + std::to_string(i);
            return where + ": " + wrong;
        }};
}

// What the game itself gives each variable, with a margin where play moves things. A `set`
// outside these is refused, so no handler meets a record the game could never produce: an
// index past one of the record's arrays, or a sum past int.
//
// The ball moves in the 800 x 600 playfield and is never more than a few speeds outside it
// before it leaves the stage, is lost or is pushed back by the solid edge; the margin is the
// playfield's size either way.
constexpr Range kX{-kScreenWidth, 2 * kScreenWidth};
constexpr Range kY{-kScreenHeight, 2 * kScreenHeight};
// Play can take the ball further, and the record may hold any finite position: the ending's
// ball takes the arrows like the ball in play and, steered left, never reaches the right edge
// the messages wait for; a ball that climbs a wall out over the top of the window (reading
// outside the picture as solid) climbs on until Space. Every conversion of a coordinate to
// whole pixels clamps it, so none of this goes wrong.
constexpr Range kFinite{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
// Speeds reach 30 (a launched flight), 16 (a spring) and -12.5 (the fall).
constexpr Range kSpeed{-40, 40};
// 32-bit colours as Display's point reads them: -1 outside the picture.
constexpr Range kColour{kNoPixel, kWhite};
// Texts: the longest the game writes is 27 bytes; SoundDir is a directory's path.
constexpr Range kText{0, 256};
constexpr Range kPath{0, 4096};
// The longest stage time, 32767 ticks, in each of the 22 stages summed, and 9 balls lost.
constexpr Range kScore{0, kStageCount*(32767 / 10) + 9 * 30};
// The middle of a grid cell, 40 x column + 20 for columns 0..24 and rows 0..19, or 0 before a
// launcher first catches the ball.
constexpr Range kLauncherX{0, 40 * 24 + 20};
constexpr Range kLauncherY{0, 40 * 19 + 20};

const std::vector<StateField>& Table() {
    constexpr bool kFull = true;
    static const std::vector<StateField> table = {
        Field<&GameState::StageNo>("StageNo", {0, kTitleStage}),
        Field<&GameState::BallsLeft>("BallsLeft", {0, 9}),
        Field<&GameState::BallState>("BallState", {kBallInPlay, kBallGameOver}),
        Field<&GameState::TrailX>("TrailX", kX, false, 4, kFinite),  // entries 4..9 never used
        Field<&GameState::TrailY>("TrailY", kY, false, 4, kFinite),
        Field<&GameState::SpeedX>("SpeedX", kSpeed),
        Field<&GameState::SpeedY>("SpeedY", kSpeed),
        Field<&GameState::BallColor>("BallColor", {0, 15}),  // the palette
        Field<&GameState::BallInterval>("BallInterval", {15, kSlowestInterval}),
        Field<&GameState::HeldKey>("HeldKey", {0, 255}),  // the key table
        Field<&GameState::WallHitSpeed>("WallHitSpeed", kSpeed),
        Field<&GameState::LauncherX>("LauncherX", kLauncherX),
        Field<&GameState::LauncherY>("LauncherY", kLauncherY),
        Field<&GameState::ProbeColor>("ProbeColor", kColour),
        // From the title's -4 to BandOrder's last index; the sequences count up to 50 at most.
        Field<&GameState::Tick>("Tick", {-4, 100}),
        Field<&GameState::LoopX>("LoopX", {0, 25}),  // loops leave it at 25 at most
        Field<&GameState::EndPhase>("EndPhase", {0, 10}),
        Field<&GameState::Score>("Score", kScore),
        Field<&GameState::ScoreCode>("ScoreCode", kText),
        Field<&GameState::StageTime>("StageTime", {0, 32767}),
        Field<&GameState::TypingRow>("TypingRow", {0, 1}),  // the title word or "Game Over"
        Field<&GameState::SoundDir>("SoundDir", kPath),
        Field<&GameState::StageMap>("StageMap", kText, kFull),
        Field<&GameState::StartX>("StartX", kX, kFull),
        Field<&GameState::StartY>("StartY", kY, kFull),
        Field<&GameState::TileGrid>("TileGrid", {0, 9}, kFull),       // a map's digits
        Field<&GameState::BandOrder>("BandOrder", {0, 600}, kFull),   // bands 15 pixels apart
        Field<&GameState::CellOrderX>("CellOrderX", {0, 24}, kFull),  // the ending's cells
        Field<&GameState::CellOrderY>("CellOrderY", {0, 18}, kFull),
        Field<&GameState::TypingSteps>("TypingSteps", kText, kFull),
        Field<&GameState::KeyDirection>("KeyDirection", {-1, 1}, kFull),
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
