// Saving a picture as a value and going back to it, sharing the rows nothing wrote since.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "toolkit/Picture.h"

namespace hopla {

Picture::State Picture::save() const {
    const auto height = static_cast<std::size_t>(image_.height);
    const auto width = static_cast<std::size_t>(image_.width);
    if (keptRows_.size() != height) {
        keptRows_.assign(height, nullptr);
        keptStamps_.assign(height, 0);
    }
    State state;
    state.picture_ = id_;
    state.width_ = image_.width;
    state.height_ = image_.height;
    state.rows_.resize(height);
    for (std::size_t y = 0; y < height; ++y) {
        if (!keptRows_[y] || keptStamps_[y] != rowVersion_[y]) {
            // A row written back to what it was (a frame copied over a trail) stays shared.
            const std::uint32_t* pixels = image_.pixels.data() + y * width;
            if (!keptRows_[y] ||
                std::memcmp(keptRows_[y].get(), pixels, width * sizeof(std::uint32_t)) != 0) {
                auto row = std::make_shared_for_overwrite<std::uint32_t[]>(width);
                std::memcpy(row.get(), pixels, width * sizeof(std::uint32_t));
                keptRows_[y] = std::move(row);
            }
            keptStamps_[y] = rowVersion_[y];
        }
        state.rows_[y] = keptRows_[y];
        written_[y] = {state.width_, 0};
    }
    state.stamps_ = rowVersion_;
    state.penWidth_ = penWidth_;
    state.foreColor_ = foreColor_;
    state.backColor_ = backColor_;
    state.font_ = font_;
    state.background_ = background_;
    state.currentX_ = currentX;
    state.currentY_ = currentY;
    state.dirty_ = dirty_;
    state.syncs_ = syncs_;
    return state;
}

void Picture::restore(const State& state) {
    if (state.picture_ != id_)
        throw std::invalid_argument("a picture can only go back to a state it saved itself");
    const auto height = static_cast<std::size_t>(state.height_);
    const auto width = static_cast<std::size_t>(state.width_);
    if (image_.width != state.width_ || image_.height != state.height_) {
        image_ = Image(state.width_, state.height_);
        rowVersion_.assign(height, 0);  // 0 is no row's stamp: every row is rewritten below
        keptRows_.assign(height, nullptr);
        written_.assign(height, Span{0, state.width_});
        syncs_ = {};
    }
    // Every row rewritten gets a new stamp, so row stamps only grow and whatever any picture
    // recorded of this one's rows (syncs, kept rows) stays true.
    const std::uint64_t fresh = ++version_;
    int first = state.height_, end = 0;
    for (std::size_t y = 0; y < height; ++y) {
        Span& w = written_[y];
        const Span span = w;
        w = {state.width_, 0};
        if (rowVersion_[y] == state.stamps_[y]) continue;
        // A row that held the state's pixels at the last save or restore differs only where
        // it was written since.
        const bool kept = keptRows_.size() == height && keptRows_[y] == state.rows_[y];
        const auto left = static_cast<std::size_t>(kept ? std::max(span.left, 0) : 0);
        const auto right =
            static_cast<std::size_t>(kept ? std::min(span.right, state.width_) : state.width_);
        if (left < right)
            std::memcpy(image_.pixels.data() + y * width + left, state.rows_[y].get() + left,
                        (right - left) * sizeof(std::uint32_t));
        rowVersion_[y] = fresh;
        first = std::min(first, static_cast<int>(y));
        end = static_cast<int>(y) + 1;
    }
    if (end > 0) widenChanged({0, first, state.width_, end});
    keptRows_.resize(height);
    for (std::size_t y = 0; y < height; ++y)
        if (keptRows_[y] != state.rows_[y]) keptRows_[y] = state.rows_[y];
    keptStamps_ = rowVersion_;
    penWidth_ = state.penWidth_;
    foreColor_ = state.foreColor_;
    backColor_ = state.backColor_;
    font_ = state.font_;
    background_ = state.background_;
    currentX = state.currentX_;
    currentY = state.currentY_;
    dirty_ = state.dirty_;
    syncs_ = state.syncs_;
}

}  // namespace hopla
