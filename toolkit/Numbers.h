// Numbers in text: the one reader of whole and real numbers for every command line (the game's,
// hopla-sim's, hopla-solve's, the soak's), hopla-sim's commands and name table, and demo files.
#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace hopla {

// The whole of `text` as a T: plain decimal with at most a leading '-' (none for unsigned T),
// reals also in exponent notation and always finite. None for anything else, including an empty
// text, blanks or trailing characters; then `tooLarge`, when given, tells a number too large
// for T (which a range check should report) from text that is no number at all.
template <typename T>
std::optional<T> ParseNumber(std::string_view text, bool* tooLarge = nullptr) {
    static_assert(std::is_arithmetic_v<T>);
    if (tooLarge) *tooLarge = false;
    T value{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    const bool whole = !text.empty() && result.ptr == end;
    if (result.ec == std::errc::result_out_of_range && whole) {
        if (tooLarge) *tooLarge = true;
        return std::nullopt;
    }
    if (result.ec != std::errc() || !whole) return std::nullopt;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) return std::nullopt;
    }
    return value;
}

}  // namespace hopla
