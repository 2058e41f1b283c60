// JSON text for hopla-sim's output lines.
#include "tools/sim/Json.h"

#include <charconv>
#include <cmath>

namespace hopla {
namespace {

template <typename Real>
std::string ShortestNumber(Real value) {
    if (!std::isfinite(value)) return "null";
    // Whole values read as integers ("100000", not "1e+05") up to where that stays short.
    constexpr Real kPlainLimit = 1e15;
    const bool whole = value == std::trunc(value) && std::fabs(value) < kPlainLimit;
    char buffer[64];
    const auto result =
        whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The length of the valid UTF-8 character starting at text[at], or 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

}  // namespace

bool IsUtf8(std::string_view text) {
    const char* const bytes = text.data();
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size;) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {  // the common case, kept quick
            ++at;
            continue;
        }
        const std::size_t length = Utf8Length(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string JsonNumber(double value) {
    return ShortestNumber(value);
}
std::string JsonNumber(float value) {
    return ShortestNumber(value);
}

std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = Utf8Length(text, at);
            if (length == 0) {
                out += "\xEF\xBF\xBD";  // U+FFFD in place of the stray byte
            } else {
                out += text.substr(at, length);
                at += length - 1;
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 15];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Four hex digits at text[at..at+3].
std::optional<std::uint32_t> Hex4(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) return std::nullopt;
    std::uint32_t value = 0;
    const auto result = std::from_chars(text.data() + at, text.data() + at + 4, value, 16);
    if (result.ec != std::errc() || result.ptr != text.data() + at + 4) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> ParseJsonString(std::string_view literal) {
    if (literal.size() < 2 || literal.front() != '"') return std::nullopt;
    std::string out;
    std::size_t i = 1;
    while (i < literal.size()) {
        const char c = literal[i];
        if (c == '"') return i + 1 == literal.size() ? std::optional(out) : std::nullopt;
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (++i == literal.size()) return std::nullopt;
        switch (literal[i]) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::optional<std::uint32_t> code = Hex4(literal, i + 1);
                if (!code) return std::nullopt;
                i += 4;
                if (*code >= 0xD800 && *code < 0xDC00) {  // a surrogate pair: \uD8xx\uDCxx
                    if (literal.substr(i + 1, 2) != "\\u") return std::nullopt;
                    const std::optional<std::uint32_t> low = Hex4(literal, i + 3);
                    if (!low || *low < 0xDC00 || *low >= 0xE000) return std::nullopt;
                    *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
                    i += 6;
                } else if (*code >= 0xDC00 && *code < 0xE000) {
                    return std::nullopt;
                }
                AppendUtf8(out, *code);
                break;
            }
            default:
                return std::nullopt;
        }
        ++i;
    }
    return std::nullopt;  // no closing quote
}

void JsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) out_ += ',';
        empty_.back() = false;
    }
}

void JsonWriter::append(std::string_view text) {
    beginValue();
    out_ += text;
}

void JsonWriter::beginObject() {
    append("{");
    empty_.push_back(true);
}

void JsonWriter::endObject() {
    empty_.pop_back();
    out_ += '}';
}

void JsonWriter::beginArray() {
    append("[");
    empty_.push_back(true);
}

void JsonWriter::endArray() {
    empty_.pop_back();
    out_ += ']';
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beginValue();
    out_ += JsonString(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

void JsonWriter::integer(long long value) {
    append(std::to_string(value));
}
void JsonWriter::real(double value) {
    append(JsonNumber(value));
}
void JsonWriter::real(float value) {
    append(JsonNumber(value));
}
void JsonWriter::boolean(bool value) {
    append(value ? "true" : "false");
}
void JsonWriter::string(std::string_view text) {
    append(JsonString(text));
}
void JsonWriter::null() {
    append("null");
}

}  // namespace hopla
