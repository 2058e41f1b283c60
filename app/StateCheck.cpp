// Game::check: the record, labels and pictures reduced to hashes that every build agrees on.
#include <bit>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "app/Game.h"
#include "form/Form1.h"
#include "form/GameState.h"
#include "form/GameStateFields.h"
#include "stage/Hasher.h"

// Hashes take the bit patterns of reals: only arithmetic done exactly as written gives every
// build the same ones.
#ifdef __FAST_MATH__
#error "the game's arithmetic must not be reordered: build without -ffast-math"
#endif

namespace hopla {
namespace {

// The pixel hash's four lanes: lane k takes pixels 8i + 2k and 8i + 2k + 1 as one word, the
// first in the high half, for every whole group of eight. The lanes sit side by side in one
// vector, which processors with 256-bit integer arithmetic (chosen as the program starts) mix
// in one step each; the same values either way.
using Lanes = std::uint64_t __attribute__((vector_size(32)));

// The choice at start needs the loader's indirect functions, which only ELF has (not Windows).
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
__attribute__((target_clones("avx2", "default")))
#endif
void MixLanes(const std::uint32_t* p, std::size_t groups, std::uint64_t* out) {
    using Words = std::uint32_t __attribute__((vector_size(32)));
    Lanes lanes = {1, 2, 3, 4};
    auto mix = [&lanes](const std::uint32_t* group) {
        Lanes pairs;
        if constexpr (std::endian::native == std::endian::little) {
            Words words;
            std::memcpy(&words, group, sizeof words);
            const Words swapped = __builtin_shufflevector(words, words, 1, 0, 3, 2, 5, 4, 7, 6);
            std::memcpy(&pairs, &swapped, sizeof pairs);
        } else {
            for (int k = 0; k < 4; ++k)
                pairs[k] = std::uint64_t{group[2 * k]} << 32 | group[2 * k + 1];
        }
        lanes ^= pairs;
        lanes *= 0x9E3779B97F4A7C15ull;
        lanes ^= lanes >> 29;
    };
    std::size_t g = 0;
    for (; g + 2 <= groups; g += 2) {  // two groups a turn: fewer steps of the loop itself
        mix(p + 8 * g);
        mix(p + 8 * g + 8);
    }
    if (g < groups) mix(p + 8 * g);
    std::memcpy(out, &lanes, sizeof lanes);
}

// A variable of the record: integers as integer, reals by their own bit pattern, texts as
// text, arrays entry by entry in index order.
template <typename T>
void Add(Hasher& h, const T& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        h.text(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        h.real(value);
    } else if constexpr (std::is_integral_v<T>) {
        h.integer(value);
    } else {
        for (const auto& entry : value) Add(h, entry);
    }
}

// Pixels go through four lanes mixed independently (MixLanes), then into the hash in order: the
// same value on every build, four times faster than one chain.
void AddImage(Hasher& h, const Image& image) {
    h.integer(image.width);
    h.integer(image.height);
    const std::vector<std::uint32_t>& p = image.pixels;
    std::uint64_t lanes[4];
    MixLanes(p.data(), p.size() / 8, lanes);
    for (std::size_t i = p.size() / 8 * 8; i < p.size(); ++i) h.word(p[i]);
    for (std::uint64_t lane : lanes) h.word(lane);
}

void AddFont(Hasher& h, const Font& f) {
    h.text(f.face);
    h.integer(f.points);
    h.integer(f.bold);
}

// The record's variables in the field list's order, each mixed in by its type.
std::uint64_t RecordHash(const GameState& s) {
    Hasher h;
    VisitFields(s, [&h](const FieldInfo& field, const auto& value) {
        if (field.checked) Add(h, value);
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
        AddFont(h, label->font());
    }
    return h.value();
}

// The hash of a picture's pixels alone, which the picture keeps until they change.
std::uint64_t PixelsHash(const Image& image) {
    Hasher h;
    AddImage(h, image);
    return h.value();
}

std::uint64_t PictureHash(const Picture& p) {
    Hasher h(p.pixelDigest(PixelsHash));
    h.integer(p.penWidth());
    h.integer(p.foreColor());
    h.integer(p.backColor());
    AddFont(h, p.font());
    h.integer(p.currentX());
    h.integer(p.currentY());
    h.integer(p.backgroundPicture() != nullptr);
    if (p.backgroundPicture()) AddImage(h, *p.backgroundPicture());
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
