// Saving a picture as a value and going back to it, sharing the rows nothing wrote since.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "toolkit/Compat.h"
#include "toolkit/Picture.h"

namespace hopla {

Picture::State Picture::save() const {
    const auto rows = static_cast<std::size_t>(height());
    const auto stride = static_cast<std::size_t>(width());
    if (keptRows_.size() != rows) {
        keptRows_.assign(rows, nullptr);
        keptStamps_.assign(rows, 0);
    }
    State state;
    state.picture_ = id_;
    state.width_ = width();
    state.height_ = height();
    state.rows_.resize(rows);
    const std::uint32_t* const pixels = image().pixels.data();
    for (std::size_t y = 0; y < rows; ++y) {
        if (!keptRows_[y] || keptStamps_[y] != rowVersion_[y]) {
            // A row written back to what it was (a frame copied over a trail) stays shared.
            const std::uint32_t* row = pixels + y * stride;
            if (!keptRows_[y] ||
                std::memcmp(keptRows_[y].get(), row, stride * sizeof(std::uint32_t)) != 0) {
                auto copy = compat::MakeSharedArrayForOverwrite<std::uint32_t>(stride);
                std::memcpy(copy.get(), row, stride * sizeof(std::uint32_t));
                keptRows_[y] = std::move(copy);
            }
            keptStamps_[y] = rowVersion_[y];
        }
        state.rows_[y] = keptRows_[y];
        written_[y] = {width(), 0};
    }
    state.stamps_ = rowVersion_;
    state.settings_ = settings();
    state.dirty_ = dirty_;
    state.syncs_ = syncs_;
    return state;
}

void Picture::restore(const State& state) {
    if (state.picture_ != id_)
        throw std::invalid_argument("a picture can only go back to a state it saved itself");
    const auto rows = static_cast<std::size_t>(state.height_);
    if (width() != state.width_ || height() != state.height_) {
        resize(state.width_, state.height_);  // every row is rewritten below
        keptRows_.assign(rows, nullptr);
    }
    // Every row rewritten gets a new stamp, so row stamps only grow and whatever any picture
    // recorded of this one's rows (syncs, kept rows) stays true.
    const std::uint64_t fresh = ++version_;
    int first = state.height_, end = 0;
    for (std::size_t y = 0; y < rows; ++y) {
        const Span span = written_[y];
        written_[y] = {state.width_, 0};
        if (rowVersion_[y] == state.stamps_[y]) continue;
        // A row that held the state's pixels at the last save or restore differs only where
        // it was written since.
        const bool kept = keptRows_.size() == rows && keptRows_[y] == state.rows_[y];
        const auto left = static_cast<std::size_t>(kept ? std::max(span.left, 0) : 0);
        const auto right =
            static_cast<std::size_t>(kept ? std::min(span.right, state.width_) : state.width_);
        if (left < right)
            std::memcpy(pixelsOf(static_cast<int>(y)) + left, state.rows_[y].get() + left,
                        (right - left) * sizeof(std::uint32_t));
        rowVersion_[y] = fresh;
        first = std::min(first, static_cast<int>(y));
        end = static_cast<int>(y) + 1;
    }
    if (end > 0) widenChanged({0, first, state.width_, end});
    keptRows_.resize(rows);
    for (std::size_t y = 0; y < rows; ++y)
        if (keptRows_[y] != state.rows_[y]) keptRows_[y] = state.rows_[y];
    keptStamps_ = rowVersion_;
    restoreSettings(state.settings_);
    dirty_ = state.dirty_;
    syncs_ = state.syncs_;
}

}  // namespace hopla
