// The stage's tick bound: shortest paths along the horizontal axis alone, the ball moving at
// most kMaxStride pixels a tick and a launcher's flight carrying it for nothing.
#include "solve/TickBound.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "form/Playfield.h"
#include "play/BallTick.h"
#include "solve/ContactBound.h"

namespace hopla {
namespace {

constexpr int kFar = INT_MAX / 4;
constexpr int kFirstMove = 12;  // Timer1's move before the contacts: |SpeedX| <= 12
constexpr int kExit = static_cast<int>(kExitLine);  // x > kExitLine: out; floor(x) >= kExit

// Both flights out of the launcher at (column, row), on the stage as open as it can become: a
// breakable block reads as broken (TateTokusyu blacks it in Back, which Display copies as the
// ball is caught). A flight over a less open stage stops sooner: at a step this one passes.
TickBound::Flight Fly(const GameState& s, const Form1& form, int column, int row) {
    auto solid = [&](int x, int y) {
        const int c = x / kTileSize, r = y / kTileSize;
        if (x >= 0 && y >= 0 && c < 20 && r < 15 && s.TileGrid[c][r] == kBreakable) return false;
        return IsSolid(form.Back.point(x, y));
    };
    TickBound::Flight f;
    f.column = column;
    f.row = row;
    const int y = kTileSize * row + kTileSize / 2;
    for (int d : {-1, 1}) {
        int x = kTileSize * column + kTileSize / 2 + 20 * d;  // Launch: the launcher's edge
        for (int step = 0; step < 64; ++step) {
            // Braked here, or stopped by a wall just ahead: WallBounce throws it 15 back, and
            // ScreenOn moves it by the new speed (at most 30 / 5 x 0.7) again.
            for (int back = 0; back <= 20; ++back) f.landing.push_back(x - back * d);
            x += 30 * d;
            const bool stopped = solid(x + 30 * d, y);
            const double after = stopped ? x - 15 * d - 4.2 * d : x;
            if (after > kExitLine) {
                f.exits = true;
                break;
            }
            if (stopped) {
                for (int back = 0; back <= 20; ++back) f.landing.push_back(x - back * d);
                break;
            }
        }
    }
    if (f.exits) f.worth = 0;
    std::sort(f.landing.begin(), f.landing.end());
    f.landing.erase(std::unique(f.landing.begin(), f.landing.end()), f.landing.end());
    return f;
}

}  // namespace

int TickBound::index(double x) const {
    return static_cast<int>(std::floor(x)) - kLeftmost;
}

TickBound::TickBound(const GameState& s, const Form1& form, int horizon, std::size_t most)
    : after_(static_cast<std::size_t>(kExit - kLeftmost), kFar) {
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r)
            if (s.TileGrid[c][r] == kLauncher) flights_.push_back(Fly(s, form, c, r));
    const int n = static_cast<int>(after_.size());
    // Right of the range the ball is out. A ball left of it comes back through the first
    // stride of the range (ticks move it at most a stride, a launcher is further right), so it
    // needs no fewer ticks than the least there.
    auto at = [&](int j) {
        if (j >= n) return 0;
        if (j >= 0) return after_[j];
        return *std::min_element(after_.begin(), after_.begin() + kMaxStride);
    };
    // Bellman's equations to their fixed point: every value only falls, and each is a count.
    for (bool changed = true; changed;) {
        changed = false;
        for (Flight& f : flights_) {
            if (f.exits) continue;
            for (int q : f.landing) f.worth = std::min(f.worth, at(q - kLeftmost));
        }
        for (int i = n - 1; i >= 0; --i) {  // from the exit: the values flow leftwards
            // One tick, to anywhere within the stride, or caught on a launcher whose column
            // holds the ball after the tick's first move (at most 12 px).
            int best = kFar;
            for (int j = i - kMaxStride; j <= i + kMaxStride && best > 0; ++j)
                best = std::min(best, at(j));
            const int x = i + kLeftmost;
            for (const Flight& f : flights_)
                if (x + kFirstMove >= kTileSize * f.column &&
                    x - kFirstMove < kTileSize * (f.column + 1))
                    best = std::min(best, f.worth);
            if (1 + best < after_[i]) {
                after_[i] = 1 + best;
                changed = true;
            }
        }
    }
    start_ = afterTick(s.TrailX[0]);
    if (start_ == 0) start_ = 1;  // the ball is in the stage: at least the tick that takes it out
    // From the start the search over the ball's height and vertical speed sees further.
    contact_ = std::make_shared<const ContactBound>(s, form, flights_, horizon, most);
    start_ = std::max(start_, contact_->atStart());
}

TickBound::~TickBound() = default;

int TickBound::inPlay(const GameState& s) const {
    return std::max(afterTick(s.TrailX[0]),
                    contact_->after(s.TrailX[0], s.TrailY[0], s.SpeedY, s.WallHitSpeed != 0));
}

int TickBound::afterTick(double x) const {
    if (std::isnan(x) || x > kExitLine) return 0;
    const int i = index(x);
    if (i < 0) return 0;
    return i >= static_cast<int>(after_.size()) ? 0 : after_[i];
}

int TickBound::fromLauncher(int launcherX, int launcherY) const {
    for (const Flight& f : flights_)
        if (f.column == launcherX / kTileSize && f.row == launcherY / kTileSize) return f.worth;
    return 0;  // no such launcher: nothing is claimed
}

}  // namespace hopla
