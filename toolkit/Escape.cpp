// Control bytes and broken UTF-8 written out as \xHH.
#include "toolkit/Escape.h"

#include <algorithm>

namespace hopla {

// The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) return 1;
    std::size_t more = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        more = 2;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        more = 3;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + more >= text.size()) return 0;
    for (std::size_t k = 1; k <= more; ++k) {
        const auto d = static_cast<unsigned char>(text[i + k]);
        if (d < (k == 1 ? low : 0x80) || d > (k == 1 ? high : 0xBF)) return 0;
    }
    return more + 1;
}

namespace {

bool Printable(std::string_view character) {
    const auto c = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return c == '\t' || (c >= 0x20 && c != 0x7F);
    // U+0080..U+009F, the C1 controls, which some terminals obey as escapes.
    return !(c == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0);
}

}  // namespace

std::string Escaped(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharacterLength(text, i);
        const std::size_t taken = length == 0 ? 1 : length;
        const std::string_view character = text.substr(i, taken);
        if (length != 0 && Printable(character)) {
            out += character;
        } else {
            for (const char byte : character) {
                const auto b = static_cast<unsigned char>(byte);
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
        }
        i += taken;
    }
    return out;
}

std::size_t Utf8Characters(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++n)
        i += std::max<std::size_t>(1, Utf8CharacterLength(text, i));
    return n;
}

std::string CleanedLabel(std::string_view text, std::size_t maxCharacters) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < maxCharacters;) {
        const std::size_t length = Utf8CharacterLength(text, i);
        std::string_view character = length == 0 ? kReplacement : text.substr(i, length);
        i += std::max<std::size_t>(length, 1);
        if (length != 0 && (!Printable(character) || character == "\t")) character = " ";
        if (character == " " && out.empty()) continue;  // the spaces at the start go
        out += character;
        ++characters;
    }
    out.erase(out.find_last_not_of(' ') + 1);
    return out;
}

}  // namespace hopla
