// Fuzzer of the text helpers: any bytes are counted, escaped and cleaned, and end. A count is
// never more than the bytes; an escaped text has no control byte and escapes no further; a
// cleaned name is well-formed UTF-8 within its length, without controls or spaces at its ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/Escape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (hopla::Utf8Characters(text) > text.size()) __builtin_trap();

    const std::string escaped = hopla::Escaped(text);
    for (const char c : escaped)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) __builtin_trap();
    if (hopla::Escaped(escaped) != escaped) __builtin_trap();

    constexpr std::size_t kMax = 60;
    const std::string cleaned = hopla::CleanedLabel(text, kMax);
    if (hopla::Utf8Characters(cleaned) > kMax) __builtin_trap();
    for (std::size_t i = 0; i < cleaned.size();) {
        const std::size_t length = hopla::Utf8CharacterLength(cleaned, i);
        if (length == 0 || (length == 1 && static_cast<unsigned char>(cleaned[i]) < 0x20))
            __builtin_trap();
        i += length;
    }
    if (!cleaned.empty() && (cleaned.front() == ' ' || cleaned.back() == ' ')) __builtin_trap();
    return 0;
}
