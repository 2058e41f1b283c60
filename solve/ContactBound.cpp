// The contact bound: a breadth-first search, tick by tick, over bins of the ball's place, its
// vertical speed and a kick's chance, in which a probe that may find a solid pixel of the
// stage's back buffer (or off the picture) may make a contact; then a backward pass over the
// bins it met gives each the fewest ticks to the exit line.
#include "solve/ContactBound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "form/Playfield.h"
#include "play/BallTick.h"
#include "toolkit/Color.h"
#include "toolkit/Image.h"

namespace hopla {
namespace {

// The grid: 4 px sideways (a divisor of the 12 px a tick's move takes at most, so bins move no
// quicker than the ball), 2 px up and down, every vertical speed the game makes (-12 to 16 in
// halves) and whether the last tick ended against a wall (a kick may follow).
constexpr double kLeft = -64, kTop = -400;
constexpr int kBinX = 4, kBinY = 2;
constexpr int kNx = static_cast<int>((kExitLine + kBinX - kLeft) / kBinX);
constexpr int kNy = static_cast<int>((kLossLine + kBinY - kTop) / kBinY);
constexpr double kShy = 1e-9;  // below a range's end
constexpr double kSlowest = -12, kFastest = 16;
constexpr int kNs = static_cast<int>((kFastest - kSlowest) * 2) + 1;
constexpr double kMove = 12;    // |SpeedX| as a tick moves the ball
constexpr double kBeside = 15;  // the most a wall's bounce leaves of a tick's move

struct Range {
    double lo, hi;
};

enum class Touch { Never, Maybe, Always };

// Where a pixel of Display can be solid for the rest of the stage: off the picture, or where
// Back is solid now. Display is Back with the ball's white or black trail drawn over it, and
// Back only loses solid pixels (a broken block goes black; a catch copies Display into it).
class Solid {
  public:
    explicit Solid(const Form1& form) : sum_((kScreenWidth + 1) * (kScreenHeight + 1), 0) {
        const Image& back = form.Back.image();  // as Bitmap::point reads it, pixel by pixel
        for (int y = 0; y < kScreenHeight; ++y) {
            int row = 0;
            for (int x = 0; x < kScreenWidth; ++x) {
                const bool inside = x < back.width && y < back.height;
                row += !inside || IsSolid(static_cast<Color>(back.at(x, y))) ? 1 : 0;
                at(x + 1, y + 1) = at(x + 1, y) + row;
            }
        }
    }
    // Whether a probe at a point in the ranges may find a solid pixel, and whether it must: the
    // probe rounds to the nearest pixel, so the whole pixels either side count.
    Touch touch(Range x, Range y) const {
        const int a = static_cast<int>(std::floor(x.lo)), b = static_cast<int>(std::ceil(x.hi));
        const int c = static_cast<int>(std::floor(y.lo)), d = static_cast<int>(std::ceil(y.hi));
        const long long area = static_cast<long long>(b - a + 1) * (d - c + 1);
        const int a1 = std::max(a, 0), b1 = std::min(b, kScreenWidth - 1);
        const int c1 = std::max(c, 0), d1 = std::min(d, kScreenHeight - 1);
        long long inside = 0, count = 0;
        if (a1 <= b1 && c1 <= d1) {
            inside = static_cast<long long>(b1 - a1 + 1) * (d1 - c1 + 1);
            count = at(b1 + 1, d1 + 1) - at(a1, d1 + 1) - at(b1 + 1, c1) + at(a1, c1);
        }
        count += area - inside;  // off the picture reads as solid
        return count == 0 ? Touch::Never : count == area ? Touch::Always : Touch::Maybe;
    }

  private:
    int& at(int x, int y) { return sum_[static_cast<std::size_t>(y * (kScreenWidth + 1) + x)]; }
    int at(int x, int y) const {
        return sum_[static_cast<std::size_t>(y * (kScreenWidth + 1) + x)];
    }
    std::vector<int> sum_;
};

class Search {
  public:
    Search(const GameState& s, const Form1& form, const std::vector<TickBound::Flight>& flights,
           std::vector<bool>& seen, std::vector<std::uint8_t>& dist)
        : s_(s), solid_(form), flights_(flights), seen_(seen), dist_(dist) {
        seen_.assign(kStates, false);
    }

    // Tick by tick from the ball's start, for `horizon` ticks or until no state is left: if
    // `stopAtExit`, no further than the first tick with a way out; if not, keeping every state
    // it goes on from, and no further than the tick that takes it past `most` of them.
    // Returns the first tick with a way out, or the tick at which no state was left, or horizon.
    int forward(int horizon, bool stopAtExit, std::size_t most = 0) {
        const double x = s_.TrailX[0], y = s_.TrailY[0];
        if (x > kExitLine) return 0;
        int first = -1;
        push({x, x}, {y, y}, s_.SpeedY, s_.WallHitSpeed != 0);
        for (int tick = 0; tick < horizon; ++tick) {
            if (next_.empty()) return first < 0 ? tick : first;
            std::vector<int> now;
            now.swap(next_);
            for (int state : now) expand(state);
            if (!stopAtExit) {  // kept for the backward pass
                expanded_.insert(expanded_.end(), now.begin(), now.end());
                if (expanded_.size() > most) horizon = tick + 1;  // the next tick is the last
            }
            if (exits_ && first < 0) {
                first = tick + 1;
                if (stopAtExit) return first;
            }
            exits_ = false;
            // A lost ball starts again where it began, standing, perhaps able to kick (nothing
            // clears WallHitSpeed); the stage is loaded afresh, as solid as at its start.
            if (lost_)
                for (bool w : {false, true}) push({x, x}, {y, y}, 0, w);
            lost_ = false;
        }
        return first < 0 ? horizon : first;
    }

    // Each state met, the fewest ticks from it to a way out over the states met: Bellman's
    // equations swept, the last states met first, to their fixed point. A state the forward search
    // reached but did not go on from (its horizon) counts 0. Returns the sweeps it took.
    int backward() {
        dist_.assign(kStates, 0);
        for (int state : expanded_) dist_[static_cast<std::size_t>(state)] = kFar;
        std::reverse(expanded_.begin(), expanded_.end());  // the last met first: nearer the exit
        const double x = s_.TrailX[0], y = s_.TrailY[0];
        const std::size_t restart =
            static_cast<std::size_t>(Index(BinX(x), BinY(y), Speed(0), false));
        backward_ = true;
        int sweeps = 0;
        for (bool changed = true; changed; ++sweeps) {
            changed = false;
            for (int state : expanded_) {
                least_ = kFar;
                exits_ = lost_ = false;
                expand(state);
                if (exits_) least_ = 0;
                if (lost_) least_ = std::min<int>({least_, dist_[restart], dist_[restart + 1]});
                const std::uint8_t d =
                    least_ >= kFar ? kFar : static_cast<std::uint8_t>(least_ + 1);
                if (d < dist_[static_cast<std::size_t>(state)]) {
                    dist_[static_cast<std::size_t>(state)] = d;
                    changed = true;
                }
            }
        }
        return sweeps;
    }

    std::size_t met() const { return expanded_.size(); }

    static constexpr std::uint8_t kFar = 255;  // no way out (or 255 ticks or more)
    static constexpr std::size_t kStates = std::size_t{kNx} * kNy * kNs * 2;
    static int Index(int bx, int by, int s, bool wall) {
        return ((bx * kNy + by) * kNs + s) * 2 + (wall ? 1 : 0);
    }
    static int Speed(double sy) {
        return std::clamp(static_cast<int>(std::lround((sy - kSlowest) * 2)), 0, kNs - 1);
    }
    static int BinX(double x) {
        return std::clamp(static_cast<int>(std::floor((x - kLeft) / kBinX)), 0, kNx - 1);
    }
    static int BinY(double y) {
        return std::clamp(static_cast<int>(std::floor((y - kTop) / kBinY)), 0, kNy - 1);
    }

  private:
    static double Fall(double sy) { return sy > -11 ? sy - 1.5 : sy; }  // Timer1's gravity

    // The states of the next tick a ball may be in anywhere in these ranges, or its exit. A
    // range's end is never reached (each is a bin's end plus moves) unless it is a point.
    // Forwards each new one is kept for the next tick; backwards the least of their ticks to a
    // way out goes into least_.
    void push(Range x, Range y, double sy, bool wall) {
        if (y.hi > kLossLine) lost_ = true;  // it may be lost: see forward
        if (y.lo > kLossLine) return;
        if (x.hi > kExitLine) exits_ = true;
        const int s = Speed(sy);
        const int x0 = BinX(x.lo), x1 = BinX(std::min(std::max(x.lo, x.hi - kShy), kExitLine));
        const int y0 = BinY(y.lo), y1 = BinY(std::min(std::max(y.lo, y.hi - kShy), kLossLine));
        for (int bx = x0; bx <= x1; ++bx)
            for (int by = y0; by <= y1; ++by) {
                const auto i = static_cast<std::size_t>(Index(bx, by, s, wall));
                if (backward_) {
                    if (least_ == 0) return;
                    least_ = std::min<int>(least_, dist_[i]);
                    continue;
                }
                if (seen_[i]) continue;
                seen_[i] = true;
                next_.push_back(static_cast<int>(i));
            }
    }

    int code(int column, int row) const {  // as TateTokusyu reads the grid
        if (column < 0 || column >= static_cast<int>(s_.TileGrid.size())) return kEmpty;
        if (row < 0 || row >= static_cast<int>(s_.TileGrid[0].size())) return kEmpty;
        return s_.TileGrid[column][row];
    }

    void expand(int state) {
        const bool wall = state % 2;
        const double sy = (state / 2 % kNs) / 2.0 + kSlowest;
        const int by = state / 2 / kNs % kNy, bx = state / 2 / kNs / kNy;
        const Range x = {kLeft + bx * kBinX, kLeft + (bx + 1) * kBinX};
        const Range y = {kTop + by * kBinY, kTop + (by + 1) * kBinY};
        tick(x, y, sy);
        if (wall) tick(x, y, 10);  // a kick off the wall just touched: SpeedY 10
    }

    // One Timer1 tick from a ball in (x, y) with SpeedY sy0 before it. The first move v is
    // taken in 4 px slices, each with its own probes: a contact happens where a probe may find
    // a solid pixel, and must where every pixel it may find is solid.
    void tick(Range x, Range y, double sy0) {
        const double sy = Fall(sy0);
        const Range y1 = {y.lo - 1.8 * sy, y.hi - 1.8 * sy};
        const Range probeY = {y1.lo - 2 * sy, y1.hi - 2 * sy};
        std::vector<int>& launchers = launchers_;  // kept: a tick allocates nothing
        launchers.clear();
        for (double v = -kMove; v < kMove; v += kBinX) {
            const Range speed = {v, v + kBinX};  // SpeedX in the slice
            const Range at = {x.lo + v, x.hi + v + kBinX};
            const Touch below = solid_.touch(at, probeY);
            if (below != Touch::Always) beside(x, speed, 1, 1, y1, sy);
            if (below == Touch::Never) continue;
            const Range end = {x.lo + 2 * v, x.hi + 2 * v + 2 * kBinX};  // ScreenOn's second v
            if (sy >= 0) {  // a ceiling: SpeedY -2, 5 px down and ScreenOn's 3
                beside(x, speed, 2, 1, {y1.lo + 8, y1.hi + 8}, -2);
                continue;
            }
            // A landing: TateTokusyu reads the cell 12 px above (SpeedY is 8 by then).
            const int c0 = static_cast<int>(std::floor(at.lo / kTileSize));
            const int c1 = static_cast<int>(std::floor(at.hi / kTileSize));
            const int r0 = static_cast<int>(std::floor((y1.lo - 12) / kTileSize)) + 1;
            const int r1 = static_cast<int>(std::floor((y1.hi - 12) / kTileSize)) + 1;
            bool kinds[4] = {};
            for (int c = c0; c <= c1; ++c)
                for (int r = r0; r <= r1; ++r) {
                    const int k = code(c, r);
                    if (k == kLauncher) {
                        if (end.hi + kBeside > kExitLine) exits_ = true;
                        launchers.push_back(c * 32 + r);
                    } else {
                        kinds[k == kEmpty ? 0 : k == kBreakable ? 1 : k == kSpring ? 2 : 3] = true;
                    }
                }
            if (kinds[0])  // SpeedY 0, SpeedX turned: the second move takes back the first
                beside(x, speed, 0, -1, {y1.lo - 10, y1.hi - 10}, 0);
            for (int kind = 1; kind <= 3; ++kind) {
                if (!kinds[kind]) continue;
                const double up = kind == 1 ? 7 : kind == 2 ? 16 : 8;
                beside(x, speed, 2, 1, {y1.lo - 10 - 1.5 * up, y1.hi - 10 - 1.5 * up}, up);
            }
        }
        // Caught: no tick until the flight ends, at SpeedY 0 in the launcher's row.
        std::sort(launchers.begin(), launchers.end());
        launchers.erase(std::unique(launchers.begin(), launchers.end()), launchers.end());
        for (int cell : launchers)
            for (const TickBound::Flight& f : flights_) {
                if (f.column != cell / 32 || f.row != cell % 32) continue;
                if (f.exits) exits_ = true;
                const double fy = kTileSize * f.row + kTileSize / 2;
                for (int q : f.landing)
                    for (bool w : {false, true}) push({q + 0.0, q + 1.0}, {fy, fy}, 0, w);
            }
    }

    // The end of a tick from a ball that began it in x with its first move v (in `v`), now at
    // x + m v and height y, with SpeedY sy and SpeedX t v: the wall probe two speeds ahead,
    // and where it hits, WallBounce (SpeedX -0.7 times, 15 px away from the wall) and ScreenOn.
    void beside(Range x, Range v, int m, int t, Range y, double sy) {
        auto span = [&](double k, Range u) {
            return Range{x.lo + std::min(k * u.lo, k * u.hi), x.hi + std::max(k * u.lo, k * u.hi)};
        };
        const Touch wall = solid_.touch(span(m + 2 * t, v), y);
        if (wall != Touch::Always) push(span(m, v), y, sy, false);
        if (wall == Touch::Never) return;
        const Range after = {y.lo - 1.5 * sy, y.hi - 1.5 * sy};
        const double k = m - 0.7 * t;
        // Where SpeedX t v <= 0 the bounce throws the ball right, elsewhere left.
        const Range right =
            t > 0 ? Range{v.lo, std::min(v.hi, 0.0)} : Range{std::max(v.lo, 0.0), v.hi};
        const Range left =
            t > 0 ? Range{std::max(v.lo, 0.0), v.hi} : Range{v.lo, std::min(v.hi, 0.0)};
        if (right.lo <= right.hi) {
            const Range r = span(k, right);
            push({r.lo + 15, r.hi + 15}, after, sy, true);
        }
        if (left.lo <= left.hi) {
            const Range l = span(k, left);
            push({l.lo - 15, l.hi - 15}, after, sy, true);
        }
    }

    const GameState& s_;
    Solid solid_;
    const std::vector<TickBound::Flight>& flights_;
    std::vector<bool>& seen_;
    std::vector<std::uint8_t>& dist_;
    std::vector<int> next_;
    std::vector<int> expanded_;   // every state the forward search went on from
    std::vector<int> launchers_;  // the launcher cells one tick may land on
    bool exits_ = false, lost_ = false, backward_ = false;
    int least_ = 0;
};

}  // namespace

ContactBound::ContactBound(const GameState& s, const Form1& form,
                           const std::vector<TickBound::Flight>& flights, int horizon,
                           std::size_t most) {
    start_ = Search(s, form, flights, seen_, dist_).forward(1500, true);
    if (horizon <= 0) {
        seen_.clear();
        return;
    }
    Search search(s, form, flights, seen_, dist_);
    search.forward(horizon, false, most);
    met_ = search.met();
    sweeps_ = search.backward();
}

int ContactBound::after(double x, double y, double speedY, bool wall) const {
    if (dist_.empty() || std::isnan(x) || std::isnan(y) || x > kExitLine || y > kLossLine) return 0;
    const auto i = static_cast<std::size_t>(
        Search::Index(Search::BinX(x), Search::BinY(y), Search::Speed(speedY), wall));
    return seen_[i] ? dist_[i] : 0;
}

}  // namespace hopla
