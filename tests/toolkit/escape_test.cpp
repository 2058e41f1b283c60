// Text from outside counted and cleaned: any bytes give an end, a count and a name that a
// stage file may hold.
#include <gtest/gtest.h>

#include "toolkit/Escape.h"

namespace hopla {
namespace {

TEST(Escape, AnyBytesAreCountedAndCleaned) {
    const struct {
        std::string text;
        std::size_t characters;
        std::string cleaned;  // to at most 5 characters
    } cases[] = {
        {"", 0, ""},
        {"Hopla", 5, "Hopla"},
        {"Caf\xe9", 4, "Caf\xef\xbf\xbd"},              // Latin-1: one replacement character
        {"\xc3\xa9t\xc3\xa9", 3, "\xc3\xa9t\xc3\xa9"},  // two-byte letters count one each
        {"\xe2\x82", 2, "\xef\xbf\xbd\xef\xbf\xbd"},    // a character cut short at the end
        {"  a\tb\n ", 7, "a b"},                        // controls become spaces, ends trimmed
        {"abcd    efgh", 12, "abcd"},                   // cut, then the new end trimmed
        {"\xc2\x9b"
         "1m",
         3, "1m"},  // a C1 control is no letter
        {std::string(3, '\xff'), 3, "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8Characters(c.text), c.characters) << Escaped(c.text);
        EXPECT_EQ(CleanedLabel(c.text, 5), c.cleaned) << Escaped(c.text);
    }
}

}  // namespace
}  // namespace hopla
