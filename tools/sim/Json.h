// Building one line of JSON output: objects, arrays, numbers that round-trip, escaped text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hopla {

// The shortest decimal text that reads back as the same value ("0.1" for 0.1f); whole values
// below 1e15 in plain digits ("420", "100000"). JSON has no infinities or NaN: those are null.
std::string JsonNumber(double value);
std::string JsonNumber(float value);
// The text as a JSON string literal with its quotes; UTF-8 passes through unchanged, and each
// byte that is not part of a valid UTF-8 character becomes U+FFFD, so the line stays valid
// JSON whatever the text holds (a caption cut inside a character, say).
std::string JsonString(std::string_view text);
// Whether the text is valid UTF-8: no stray or missing continuation bytes, no overlong forms,
// no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);
// Reads a whole JSON string literal (quotes included) back into UTF-8 text; none when the
// literal is malformed or anything follows it.
std::optional<std::string> ParseJsonString(std::string_view literal);

// Appends values in order and puts the commas in. Keys are written with key() right before
// their value. The caller balances begin and end.
class JsonWriter {
  public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    JsonWriter& key(std::string_view name);
    void integer(long long value);
    void real(double value);
    void real(float value);
    void boolean(bool value);
    void string(std::string_view text);
    void null();

    const std::string& str() const { return out_; }

  private:
    void beginValue();
    void append(std::string_view text);

    std::string out_;
    std::vector<bool> empty_;  // per open container: nothing written into it yet
    bool afterKey_ = false;
};

}  // namespace hopla
