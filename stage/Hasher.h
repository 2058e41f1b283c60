// The one 64-bit hash of sequences of words and texts: the stage table's hash, which names a
// demo's stages, and the state check's hashes of the record, labels and pictures.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/Compat.h"

namespace hopla {

// Each word is mixed in whole, so equal sequences give equal hashes on every build and any
// change of one word changes the result. The values are part of every demo: never change them.
class Hasher {
  public:
    Hasher() = default;
    // Goes on from the value of another hasher.
    explicit Hasher(std::uint64_t value) : h_(value) {}

    void word(std::uint64_t w) {
        h_ ^= w + 0x9E3779B97F4A7C15ull + (h_ << 6) + (h_ >> 2);
        h_ *= 0xBF58476D1CE4E5B9ull;
        h_ ^= h_ >> 31;
    }
    void integer(long long v) { word(static_cast<std::uint64_t>(v)); }
    // Reals by their own bit pattern (a float's 32 bits).
    void real(double v) { word(compat::bit_cast<std::uint64_t>(v)); }
    void real(float v) { word(compat::bit_cast<std::uint32_t>(v)); }
    // Its length, then its bytes eight to a word, the first byte highest.
    void text(const std::string& s) {
        word(s.size());
        std::uint64_t w = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            w = w << 8 | static_cast<unsigned char>(s[i]);
            if (i % 8 == 7 || i + 1 == s.size()) {
                word(w);
                w = 0;
            }
        }
    }

    std::uint64_t value() const { return h_; }

  private:
    std::uint64_t h_ = 0x6A09E667F3BCC908ull;
};

}  // namespace hopla
