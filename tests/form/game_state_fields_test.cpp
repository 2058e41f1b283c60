// The record's field list is complete: every member of GameState, in the record's order, once,
// with ranges its type can hold.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "form/GameStateFields.h"

namespace hopla {
namespace {

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

// What is wrong with the ranges of a variable whose entries are of type T, or "".
template <typename T>
std::string RangeFault(const FieldInfo& f) {
    const Range r = f.range, held = f.held;
    if (!(r.min <= r.max)) return "its range is empty";
    if (held.min > r.min || held.max < r.max) return "it may hold less after play than it takes";
    if constexpr (std::is_same_v<T, std::string>) {
        if (r.min != 0 || held.min != 0) return "a text's range counts bytes from 0";
    } else {
        if (held.min < std::numeric_limits<T>::lowest() || held.max > std::numeric_limits<T>::max())
            return "its range exceeds its type";
    }
    return "";
}

TEST(GameStateFields, VisitsEveryMemberOnceInTheRecordsOrder) {
    GameState s;
    std::vector<const void*> members;
    std::apply([&](auto&... m) { (members.push_back(&m), ...); }, GameStateMembers(s));
    std::vector<const void*> at;
    std::vector<std::string> names;
    VisitFields(s, [&](const FieldInfo& f, auto& member) {
        using T = typename EntryOf<std::remove_cvref_t<decltype(member)>>::Type;
        at.push_back(&member);
        names.emplace_back(f.name);
        EXPECT_EQ(RangeFault<T>(f), "") << f.name;
    });
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::string after = i == 0 ? "at the start" : "after " + names[i - 1];
        ASSERT_LT(i, at.size()) << "GameState's member " << i << " (" << after
                                << ") is not in VisitFields";
        ASSERT_EQ(at[i], members[i])
            << "GameState's member " << i << " (" << after
            << ") is not in VisitFields, or out of order: it visits " << names[i] << " there";
    }
    EXPECT_EQ(at.size(), members.size()) << "VisitFields visits a member twice";
}

}  // namespace
}  // namespace hopla
