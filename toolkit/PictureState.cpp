// Saving a picture as a value and going back to it, at the cost of the rows written since.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "toolkit/Compat.h"
#include "toolkit/Picture.h"

namespace hopla {

bool Picture::baseFits() const {
    return base_ && base_->width == width() && base_->height == height();
}

// The pixels as a frame: base_ with the rows written since put in. A row written back to what
// it was (a frame copied over a trail) stays shared, and so does a chunk, or the whole frame,
// in which no row differs.
std::shared_ptr<const Picture::Frame> Picture::frameWithWrites() const {
    const bool fits = baseFits();
    if (fits && writtenRows_.empty()) return base_;
    const auto stride = static_cast<std::size_t>(width());
    const std::size_t bytes = stride * sizeof(std::uint32_t);
    const std::size_t chunks = (static_cast<std::size_t>(height()) + kChunkRows - 1) / kChunkRows;
    auto frame = std::make_shared<Frame>();
    frame->width = width();
    frame->height = height();
    if (fits) {
        frame->chunks = base_->chunks;
    } else {
        // Without a base of this size every row counts as written.
        frame->chunks.assign(chunks, nullptr);
        writtenRows_.resize(static_cast<std::size_t>(height()));
        for (int y = 0; y < height(); ++y) writtenRows_[static_cast<std::size_t>(y)] = y;
    }
    std::sort(writtenRows_.begin(), writtenRows_.end());
    const std::uint32_t* const pixels = image().pixels.data();
    bool changed = !fits;
    for (std::size_t i = 0; i < writtenRows_.size();) {
        // The written rows of one chunk make a new chunk, unless they all hold what it held.
        const std::size_t c = static_cast<std::size_t>(writtenRows_[i]) / kChunkRows;
        const Chunk* old = fits ? base_->chunks[c].get() : nullptr;
        std::shared_ptr<Chunk> chunk;
        for (;
             i < writtenRows_.size() && static_cast<std::size_t>(writtenRows_[i]) / kChunkRows == c;
             ++i) {
            const auto y = static_cast<std::size_t>(writtenRows_[i]);
            written_[y] = {width(), 0};
            const std::size_t r = y % kChunkRows;
            const std::uint32_t* row = pixels + y * stride;
            if (old && std::memcmp(old->rows[r].get(), row, bytes) == 0) continue;
            if (!chunk) chunk = old ? std::make_shared<Chunk>(*old) : std::make_shared<Chunk>();
            auto copy = compat::MakeSharedArrayForOverwrite<std::uint32_t>(stride);
            std::memcpy(copy.get(), row, bytes);
            chunk->rows[r] = std::move(copy);
        }
        if (chunk) {
            frame->chunks[c] = std::move(chunk);
            changed = true;
        }
    }
    writtenRows_.clear();
    return changed ? frame : base_;
}

bool Picture::sameAs(const Saved& saved) const {
    return saved.frame == base_ && saved.stamps == rowVersion_ && saved.settings == settings() &&
           saved.dirty == dirty_ && saved.syncs == syncs_;
}

Picture::State Picture::save() const {
    base_ = frameWithWrites();
    if (!lastSaved_ || !sameAs(*lastSaved_))
        lastSaved_ =
            std::make_shared<const Saved>(Saved{base_, rowVersion_, settings(), dirty_, syncs_});
    State state;
    state.picture_ = id_;
    state.saved_ = lastSaved_;
    return state;
}

void Picture::restore(const State& state, Stamps stamps) {
    if (state.picture_ != id_ || !state.saved_)
        throw std::invalid_argument("a picture can only go back to a state it saved itself");
    const Saved& saved = *state.saved_;
    const Frame& to = *saved.frame;
    if (width() != to.width || height() != to.height) {
        resize(to.width, to.height);  // every row is rewritten below
        base_ = nullptr;
    }
    // Alone, every row rewritten gets a new stamp, so row stamps only grow and whatever any
    // picture recorded of this one's rows (syncs) stays true.
    const std::uint64_t fresh = version_ + 1;
    int first = to.height, end = 0;
    auto rewrite = [&](int y, int left, int right) {
        const SharedRow& row = to.chunks[static_cast<std::size_t>(y / kChunkRows)]
                                   ->rows[static_cast<std::size_t>(y % kChunkRows)];
        std::memcpy(pixelsOf(y) + left, row.get() + left,
                    static_cast<std::size_t>(right - left) * sizeof(std::uint32_t));
        rowVersion_[static_cast<std::size_t>(y)] = fresh;
        written_[static_cast<std::size_t>(y)] = {to.width, 0};
        first = std::min(first, y);
        end = std::max(end, y + 1);
    };
    if (base_.get() != &to) {
        // Where the base and the state hold different rows, the whole row comes back.
        for (std::size_t c = 0; c < to.chunks.size(); ++c) {
            const Chunk* from = base_ ? base_->chunks[c].get() : nullptr;
            const Chunk* into = to.chunks[c].get();
            if (from == into) continue;
            const int top = static_cast<int>(c) * kChunkRows;
            for (int r = 0; r < kChunkRows && top + r < to.height; ++r)
                if (!from || from->rows[static_cast<std::size_t>(r)] !=
                                 into->rows[static_cast<std::size_t>(r)])
                    rewrite(top + r, 0, to.width);
        }
    }
    // Elsewhere the row is the state's but for the columns written since.
    for (const int y : writtenRows_) {
        Span& span = written_[static_cast<std::size_t>(y)];
        const int left = std::max(span.left, 0), right = std::min(span.right, to.width);
        span = {to.width, 0};
        if (left < right) rewrite(y, left, right);
    }
    writtenRows_.clear();
    if (end > 0) {
        version_ = fresh;
        widenChanged({0, first, to.width, end});
    }
    if (stamps == Stamps::Saved) rowVersion_ = saved.stamps;
    base_ = saved.frame;
    restoreSettings(saved.settings);
    dirty_ = saved.dirty;
    syncs_ = saved.syncs;
    lastSaved_ = state.saved_;
}

}  // namespace hopla
