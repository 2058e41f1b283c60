// Game::check: the record, labels and pictures reduced to hashes that every build agrees on.
#include <bit>
#include <string>
#include <type_traits>
#include <vector>

#include "app/Game.h"
#include "form/Form1.h"
#include "form/GameState.h"
#include "form/GameStateFields.h"
#include "toolkit/Compat.h"

// Hashes take the bit patterns of reals: only arithmetic done exactly as written gives every
// build the same ones.
#ifdef __FAST_MATH__
#error "the game's arithmetic must not be reordered: build without -ffast-math"
#endif

namespace hopla {
namespace {

// A 64-bit hash of a sequence of words; each word is mixed in whole, so equal sequences give
// equal hashes on every build and any change of one word changes the result.
class Hasher {
  public:
    void word(std::uint64_t w) {
        h_ ^= w + 0x9E3779B97F4A7C15ull + (h_ << 6) + (h_ >> 2);
        h_ *= 0xBF58476D1CE4E5B9ull;
        h_ ^= h_ >> 31;
    }
    void integer(long long v) { word(static_cast<std::uint64_t>(v)); }
    void real(double v) { word(compat::bit_cast<std::uint64_t>(v)); }
    void real(float v) { word(compat::bit_cast<std::uint32_t>(v)); }
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
    // A variable of the record: integers as integer, reals by their own bit pattern (a float's
    // 32 bits), texts as text, arrays entry by entry in index order.
    template <typename T>
    void add(const T& value) {
        if constexpr (std::is_same_v<T, std::string>) {
            text(value);
        } else if constexpr (std::is_floating_point_v<T>) {
            real(value);
        } else if constexpr (std::is_integral_v<T>) {
            integer(value);
        } else {
            for (const auto& entry : value) add(entry);
        }
    }
    // Pixels go through four lanes mixed independently, then into the hash in order: the
    // same value on every build, four times faster than one chain.
    void image(const Image& image) {
        integer(image.width);
        integer(image.height);
        const std::vector<std::uint32_t>& p = image.pixels;
        std::uint64_t lanes[4] = {1, 2, 3, 4};
        std::size_t i = 0;
        for (; i + 8 <= p.size(); i += 8)
            for (std::size_t k = 0; k < 4; ++k) {
                std::uint64_t& lane = lanes[k];
                lane ^= std::uint64_t{p[i + 2 * k]} << 32 | p[i + 2 * k + 1];
                lane *= 0x9E3779B97F4A7C15ull;
                lane ^= lane >> 29;
            }
        for (; i < p.size(); ++i) word(p[i]);
        for (std::uint64_t lane : lanes) word(lane);
    }
    void font(const Font& f) {
        text(f.face);
        integer(f.points);
        integer(f.bold);
    }

    std::uint64_t value() const { return h_; }

  private:
    std::uint64_t h_ = 0x6A09E667F3BCC908ull;
};

// The record's variables in the field list's order, each mixed in by its type.
std::uint64_t RecordHash(const GameState& s) {
    Hasher h;
    VisitFields(s, [&h](const FieldInfo& field, const auto& value) {
        if (field.checked) h.add(value);
    });
    return h.value();
}

std::uint64_t LabelsHash(const Form1& form) {
    Hasher h;
    for (const Label* label : {&form.Label1, &form.Label2}) {
        h.text(label->caption());
        h.integer(label->left());
        h.integer(label->top());
        h.integer(label->width());
        h.integer(label->height());
        h.integer(label->visible());
        h.integer(label->transparent());
        h.integer(label->foreColor());
        h.integer(label->backColor());
        h.font(label->font());
    }
    return h.value();
}

std::uint64_t PictureHash(const Picture& p) {
    Hasher h;
    h.image(p.image());
    h.integer(p.penWidth());
    h.integer(p.foreColor());
    h.integer(p.backColor());
    h.font(p.font());
    h.integer(p.currentX());
    h.integer(p.currentY());
    h.integer(p.backgroundPicture() != nullptr);
    if (p.backgroundPicture()) h.image(*p.backgroundPicture());
    return h.value();
}

}  // namespace

static_assert(Form1::kTimers.size() == std::tuple_size_v<decltype(StateCheck::timers)>);

StateCheck Game::check() const {
    const Form1& form = *form_;
    const GameState& state = *state_;
    StateCheck c;
    c.stage = state.StageNo;
    c.balls = state.BallsLeft;
    c.score = state.Score;
    for (std::size_t i = 0; i < Form1::kTimers.size(); ++i)
        c.timers[i] = (form.*Form1::kTimers[i]).interval();
    c.record = RecordHash(state);
    c.labels = LabelsHash(form);
    c.display = PictureHash(form.Display);
    c.back = PictureHash(form.Back);
    c.dark = PictureHash(form.Dark);
    c.chip = PictureHash(form.Chip);
    c.endChip = PictureHash(form.EndChip);
    return c;
}

}  // namespace hopla
