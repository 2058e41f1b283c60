// hopla-sim's JSON text: numbers that read back exactly, string escapes both ways.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "support/TinyJson.h"
#include "tools/sim/Json.h"

namespace hopla {
namespace {

TEST(JsonNumber, WholeValuesArePlainIntegersAndRealsAreShortest) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},      {420.0, "420"},  {100000.0, "100000"},
        {-30.0, "-30"},  {0.1, "0.1"},    {-2.5, "-2.5"},
        {1e20, "1e+20"}, {1e-7, "1e-07"}, {123456789012345.0, "123456789012345"},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonNumber(c.value), c.text) << c.value;
}

TEST(JsonNumber, FloatsUseTheirOwnShortestForm) {
    EXPECT_EQ(JsonNumber(0.1f), "0.1");  // not the double 0.10000000149011612
    EXPECT_EQ(JsonNumber(-8.0f), "-8");
    EXPECT_EQ(JsonNumber(3.3f), "3.3");
}

TEST(JsonNumber, NonFiniteValuesAreNull) {
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<float>::infinity()), "null");
}

TEST(JsonNumber, EveryValueReadsBackExactly) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 2000; ++i) {
        const double value = std::ldexp(mantissa(random), exponent(random));
        const std::string text = JsonNumber(value);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(back, value) << text;
        const float single = static_cast<float>(value);
        const std::string singleText = JsonNumber(single);
        float singleBack = 0;
        std::from_chars(singleText.data(), singleText.data() + singleText.size(), singleBack);
        ASSERT_EQ(singleBack, single) << singleText;
    }
}

TEST(JsonString, EscapesQuotesBackslashesAndControlsAndPassesUtf8) {
    const struct {
        std::string text;
        const char* literal;
    } cases[] = {
        {"", R"("")"},
        {"Game Over", R"("Game Over")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\n\t\r\b\f", R"("\n\t\r\b\f")"},
        {std::string("\x01\x1f", 2), R"("\u0001\u001f")"},
        {std::string(1, '\0'), R"("\u0000")"},
        {"Ｈｏｐｌａ", "\"Ｈｏｐｌａ\""},
        {"/", R"("/")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.text), c.literal);
        EXPECT_EQ(ParseJsonString(c.literal), c.text) << c.literal;
    }
}

// Bytes that are not UTF-8 (a caption cut inside a character, say) cannot go into a JSON line
// as they are: each stray byte becomes U+FFFD, and valid characters around it stay.
TEST(JsonString, StrayBytesBecomeReplacementCharacters) {
    const std::string r = "\xef\xbf\xbd";  // U+FFFD
    const struct {
        const char* what;
        std::string text;
        std::string literal;
    } cases[] = {
        {"a lone byte",
         "a\xff"
         "b",
         "\"a" + r + "b\""},
        {"a character cut short", "Ｈ\xef\xbd", "\"Ｈ" + r + r + "\""},
        {"a continuation alone", "\x80Ｈ", "\"" + r + "Ｈ\""},
        {"overlong", "\xc0\xaf", "\"" + r + r + "\""},
        {"overlong of three", "\xe0\x80\xaf", "\"" + r + r + r + "\""},
        {"a surrogate", "\xed\xa0\x80", "\"" + r + r + r + "\""},
        {"past U+10FFFF", "\xf4\x90\x80\x80", "\"" + r + r + r + r + "\""},
        {"the last character", "\xf4\x8f\xbf\xbf", "\"\xf4\x8f\xbf\xbf\""},
        {"four bytes", "\xf0\x9f\x98\x80", "\"\xf0\x9f\x98\x80\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.text), c.literal) << c.what;
        EXPECT_EQ(IsUtf8(c.text), c.literal.find(r) == std::string::npos) << c.what;
        EXPECT_TRUE(IsUtf8(c.literal)) << c.what;
    }
}

TEST(ParseJsonString, ReadsEveryEscapeAndRejectsMalformedLiterals) {
    EXPECT_EQ(ParseJsonString(R"("\u00e9\u3042\/")"), "é\xe3\x81\x82/");
    EXPECT_EQ(ParseJsonString(R"("\ud83d\ude00")"), "\xf0\x9f\x98\x80");  // a surrogate pair
    for (const char* bad : {R"(abc)", R"("abc)", R"("a"b")", R"("\x")", R"("\u12")", R"("\ud800")",
                            R"("\ude00")", R"("\ud800\u0041")", "\"a\nb\"", R"("\)", R"(")"}) {
        EXPECT_FALSE(ParseJsonString(bad).has_value()) << bad;
    }
}

TEST(JsonWriter, NestsContainersWithCommasInPlace) {
    JsonWriter json;
    json.beginObject();
    json.key("a").integer(-3);
    json.key("b").beginArray();
    json.beginArray();
    json.endArray();
    json.real(0.5);
    json.string("x");
    json.null();
    json.endArray();
    json.key("c").beginObject();
    json.key("d").boolean(true);
    json.endObject();
    json.endObject();
    EXPECT_EQ(json.str(), R"({"a":-3,"b":[[],0.5,"x",null],"c":{"d":true}})");
    EXPECT_TRUE(testing::ParseJson(json.str()).has_value());
}

TEST(TinyJson, RejectsWhatIsNotJson) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\":1,}", "01", "1.", ".5", "NaN", "1e",
                            "{\"a\" 1}", "[1] 2", "tru", "\"a"}) {
        EXPECT_FALSE(testing::ParseJson(bad).has_value()) << bad;
    }
    EXPECT_TRUE(testing::ParseJson(R"( {"a":[1,-0.5e+3,true,false,null,"s"]} )").has_value());
}

}  // namespace
}  // namespace hopla
