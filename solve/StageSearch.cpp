// A beam search over ticks of the real game: each tick, every surviving ball state tries its
// key presses from a snapshot; the states nearest the exit go on to the next tick.
#include "solve/StageSearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <queue>
#include <unordered_map>
#include <unordered_set>

#include "demo/Recorder.h"
#include "form/Playfield.h"
#include "solve/Moves.h"
#include "solve/TickBound.h"

namespace hopla {
namespace {

constexpr double kTopSpeed = 11;  // pixels per tick a held arrow drives the ball to
constexpr double kUnreachable = 1e7;

// How near the beam came to the exit (in ticks at top speed), said when a search gives up. The
// distance follows the free cells, which a spring's or a launcher's throw may leave: a ball with
// no such way may still get out, so this never says that none can.
std::string Nearest(double closest) {
    if (closest >= kUnreachable / kTopSpeed)
        return "no ball it kept had a way to the exit over free cells";
    return "nearest " + std::to_string(static_cast<int>(closest * kTopSpeed)) + " px from the exit";
}

// SolveBest's settings, each with the first beam: the states kept per cell and where the cells
// lie. Beyond the beam's width (a wider one, with the same cells, finds the very same ways out
// on every stage of the game), which states the cells keep decides what the search finds: few
// spread it over the stage, many follow the best lines further, and cells shifted by half a
// tile keep other states again. No one setting is best on every stage: on the whole game each
// of these has found a stage's quickest way out, the shifted cells alone saving a point.
struct Setting {
    int perCell, cellShift;
};
constexpr std::array<Setting, 5> kSettings = {{{10, 0}, {20, 0}, {40, 0}, {4, 0}, {4, 20}}};

// How far the exit is from a ball, in pixels of travel, by a rough model of what lifts it: on
// 10-pixel cells, the ball may climb only as far as its last lift allows (a bounce off a floor
// 4 cells, a kick off a wall 5, a breakable block 2, a spring 14), falling takes the lift away,
// and a launcher carries it along its row for nothing (flights are not counted in the stage's
// time). The search ranks ball states by it; a state from which the model sees no way out
// ranks last.
class ExitDistance {
  public:
    explicit ExitDistance(const GameState& s) : grid_{s}, d_(kStates, kUnreachable) {
        // The model's moves, forwards; the distances run backwards from the exit over them.
        std::vector<std::vector<std::pair<int, float>>> into(kStates);
        auto edge = [&](int from, int to, float cost) { into[to].push_back({from, cost}); };
        for (int cy = 0; cy < kH; ++cy)
            for (int cx = 0; cx < kW; ++cx) {
                if (!open(cx, cy)) continue;
                const int below = grid_.code(cx, cy + 1);
                int lift = 0;
                if (below == kSpring)
                    lift = 14;
                else if (below == kBreakable)
                    lift = 2;
                else if (below != kEmpty && below != kLauncher)
                    lift = 4;
                if (!open(cx - 1, cy) || !open(cx + 1, cy)) lift = std::max(lift, 5);
                for (int k = 0; k < kLifts; ++k) {
                    const int from = state(cx, cy, k);
                    if (lift > k) edge(from, state(cx, cy, lift), 0);
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            if ((!dx && !dy) || !open(cx + dx, cy + dy)) continue;
                            if (dx && dy && (!open(cx + dx, cy) || !open(cx, cy + dy))) continue;
                            if (dy < 0 && k == 0) continue;
                            const int next = dy < 0 ? k - 1 : (dy > 0 ? 0 : k);
                            edge(from, state(cx + dx, cy + dy, next), dx && dy ? 14.1f : 10);
                        }
                }
                if (below == kLauncher) flights(cx, cy, edge);
            }
        using Item = std::pair<double, int>;
        std::priority_queue<Item, std::vector<Item>, std::greater<>> todo;
        for (int cy = 0; cy < kH; ++cy)
            for (int cx = kExitCell; cx < kW; ++cx)
                if (open(cx, cy))
                    for (int k = 0; k < kLifts; ++k) {
                        d_[state(cx, cy, k)] = 0;
                        todo.push({0, state(cx, cy, k)});
                    }
        while (!todo.empty()) {
            const auto [d, to] = todo.top();
            todo.pop();
            if (d > d_[to]) continue;
            for (const auto& [from, cost] : into[to])
                if (d + cost < d_[from]) {
                    d_[from] = d + cost;
                    todo.push({d_[from], from});
                }
        }
    }

    // A ball at (x, y) rising at speedY (positive upwards).
    double at(double x, double y, double speedY) const {
        double rise = 0;
        for (double v = speedY - 1.5; v > 0; v -= 1.5) rise += 1.8 * v;
        const int k = std::min(kLifts - 1, static_cast<int>(rise / kCell));
        const int cx = std::clamp(static_cast<int>(std::floor(x / kCell)), 0, kW - 1);
        const int cy = std::clamp(static_cast<int>(std::floor(y / kCell)), 0, kH - 1);
        double best = kUnreachable;
        for (int r = 0; r <= 2 && best >= kUnreachable; ++r)  // a ball pushed into a wall
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (open(cx + dx, cy + dy))
                        best = std::min(best, d_[state(cx + dx, cy + dy, k)] + 10.0 * r);
        return best;
    }

  private:
    static constexpr int kCell = 10, kW = kScreenWidth / kCell, kH = kScreenHeight / kCell;
    static constexpr int kLifts = 15;  // climb left, in cells: 0..14
    static constexpr int kStates = kW * kH * kLifts;
    static constexpr int kExitCell = static_cast<int>(kExitLine) / kCell + 1;

    // The tile under each cell; outside the playfield reads as wall.
    struct Grid {
        const GameState& s;
        int code(int cx, int cy) const {
            if (cx < 0 || cy < 0 || cx >= kW || cy >= kH) return kWall;
            return s.TileGrid[cx * kCell / kTileSize][cy * kCell / kTileSize];
        }
    };

    // Open: an empty or breakable tile, above the line where a ball is lost.
    bool open(int cx, int cy) const {
        if ((cy + 1) * kCell > kLossLine) return false;
        const int code = grid_.code(cx, cy);
        return code == kEmpty || code == kBreakable;
    }
    static int state(int cx, int cy, int k) { return (cy * kW + cx) * kLifts + k; }

    // A ball landing on the launcher under (cx, cy) is shot along the launcher's row, either
    // way, from the launcher's edge until a wall is one flight step ahead; it may brake
    // anywhere on the way.
    template <typename Edge>
    void flights(int cx, int cy, Edge& edge) {
        const int column = cx * kCell / kTileSize, row = (cy + 1) * kCell / kTileSize;
        const int fy = (row * kTileSize + kTileSize / 2) / kCell;
        for (int dir : {-1, 1}) {
            int fx = (column * kTileSize + kTileSize / 2 + 20 * dir) / kCell;
            for (; open(fx, fy) && open(fx + 3 * dir, fy); fx += dir)
                for (int k = 0; k < kLifts; ++k) edge(state(cx, cy, k), state(fx, fy, 0), 0);
            if (open(fx, fy))
                for (int k = 0; k < kLifts; ++k) edge(state(cx, cy, k), state(fx, fy, 0), 0);
        }
    }

    Grid grid_;
    std::vector<double> d_;
};

// Which breakable blocks of the stage the ball has broken: they are black in Back while the
// grid still holds them.
class Breakables {
  public:
    Breakables(const GameState& s, const Form1& form) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 15; ++y)
                if (s.TileGrid[x][y] == kBreakable && cells_.size() < 64)
                    cells_.push_back(
                        {x * kTileSize + kTileSize / 2, y * kTileSize + kTileSize / 2});
        for (const auto& [x, y] : cells_) whole_.push_back(form.Back.point(x, y));
    }
    std::uint64_t broken(const Form1& form) const {
        std::uint64_t mask = 0;
        for (std::size_t i = 0; i < cells_.size(); ++i)
            if (form.Back.point(cells_[i].first, cells_[i].second) != whole_[i])
                mask |= std::uint64_t{1} << i;
        return mask;
    }

  private:
    std::vector<std::pair<int, int>> cells_;
    std::vector<Color> whole_;
};

struct Node {
    int parent = -1;
    std::uint64_t point = 0;  // handlers run when its inputs went in
    Action action;
    Phase phase = Phase::Play;
    int g = 0;      // StageTime after its step
    int ticks = 0;  // Timer1 ticks since the search began: StageTime stops at its limit, these not
    double h = 0;
    int cell = 0;
    std::unique_ptr<SimCore::Snapshot> snap;  // kept while its children are being made
};

class Search {
  public:
    Search(SimCore& sim, const SearchOptions& options)
        : sim_(sim),
          options_(options),
          stage_(sim.state().StageNo),
          balls_(sim.state().BallsLeft),
          distance_(sim.state()),
          breakables_(sim.state(), sim.form()) {}

    StageResult run() {
        StageResult result;
        result.stage = stage_;
        result.setting = options_;
        Node root;
        root.phase = classify();
        root.g = sim_.state().StageTime[stage_];
        const SimCore::Snapshot start = sim_.save();
        root.snap = std::make_unique<SimCore::Snapshot>(start);
        if (root.phase != Phase::Play) {
            result.blocked = "the game is not at the start of play in a stage";
            return result;
        }
        nodes_.push_back(std::move(root));
        std::vector<int> level = {0}, previous;
        double closest = kUnreachable;
        int closestAt = 0;
        for (int tick = 0; tick < options_.maxTicks; ++tick) {
            if (options_.stop && *options_.stop) {
                result.blocked = "the search was stopped";
                break;
            }
            std::vector<int> next = expand(level);
            if (exit_ >= 0) break;
            for (int n : previous) nodes_[n].snap.reset();
            previous = std::move(level);
            level = prune(std::move(next));
            if (level.empty()) {
                result.blocked = "every ball it kept was lost by tick " + std::to_string(tick + 1);
                break;
            }
            double best = kUnreachable;
            for (int n : level) best = std::min(best, nodes_[n].h);
            if (best < closest - 1e-9) {
                closest = best;
                closestAt = tick;
            } else if (tick - closestAt > options_.stallTicks) {
                result.blocked = "no ball came nearer to the exit in " +
                                 std::to_string(options_.stallTicks) + " ticks (" +
                                 Nearest(closest) + ")";
                break;
            }
        }
        sim_.restore(start);
        result.tried = tried_;
        if (exit_ < 0) {
            if (result.blocked.empty())
                result.blocked = "no way out within " + std::to_string(options_.maxTicks) +
                                 " ticks (" + Nearest(closest) + ")";
            return result;
        }
        result.solved = true;
        result.ticks = nodes_[exit_].g;
        // The bound, beside a way out only (worked out from the start, where sim_ is again).
        result.bound =
            nodes_[0].g +
            (options_.bound >= 0 ? options_.bound : TickBound(sim_.state(), sim_.form()).atStart());
        for (int n = exit_; n > 0; n = nodes_[n].parent) {
            const Node& node = nodes_[n];
            for (int i = node.action.count - 1; i >= 0; --i)
                result.inputs.push_back({node.point + static_cast<std::uint64_t>(i), 0,
                                         node.action.inputs[i].first,
                                         node.action.inputs[i].second});
        }
        std::reverse(result.inputs.begin(), result.inputs.end());
        return result;
    }

  private:
    Phase classify() { return Classify(sim_, stage_, balls_); }

    // Delivers the action's inputs and runs the next tick.
    Phase apply(const Action& action) {
        ++tried_;
        Apply(sim_, action, ticked_);
        return classify();
    }

    std::uint64_t key(Phase phase) const {
        const GameState& s = sim_.state();
        auto q = [](double v, double per) {
            return static_cast<std::int64_t>(std::llround(v * per));
        };
        std::uint64_t h = static_cast<std::uint64_t>(phase);
        const std::int64_t wall = s.WallHitSpeed > 0 ? 1 : (s.WallHitSpeed < 0 ? -1 : 0);
        for (std::int64_t v : {q(s.TrailX[0], 1), q(s.TrailY[0], 1), q(s.SpeedX, 4), q(s.SpeedY, 2),
                               std::int64_t{s.HeldKey}, wall, std::int64_t{s.LauncherX},
                               std::int64_t{s.LauncherY}}) {
            h ^= static_cast<std::uint64_t>(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        }
        return h ^ (breakables_.broken(sim_.form()) * 0xC2B2AE3D27D4EB4Full);
    }

    // Makes sure the node's state is saved: from its parent's, with its inputs and step again.
    void materialize(int n) {
        if (nodes_[n].snap) return;
        const int p = nodes_[n].parent;
        sim_.restore(*nodes_[p].snap);
        apply(nodes_[n].action);
        nodes_[n].snap = std::make_unique<SimCore::Snapshot>(sim_.save());
    }

    // Every action of every node of the level (and of the free steps they lead to: a flight,
    // a ball waiting on a launcher); returns the children one tick further on.
    std::vector<int> expand(std::vector<int>& level) {
        std::unordered_set<std::uint64_t> seenHere;
        std::unordered_map<std::uint64_t, int> seenNext;
        std::vector<int> next;
        for (std::size_t i = 0; i < level.size(); ++i) {
            const int n = level[i];
            materialize(n);
            const std::vector<Action> list = Moves(nodes_[n].phase, sim_.state());
            bool fresh = true;  // the game is at the node's state already
            for (const Action& action : list) {
                if (!fresh) sim_.restore(*nodes_[n].snap);
                fresh = false;
                Node child;
                child.parent = n;
                child.point = sim_.game().handlersRun();
                child.action = action;
                child.phase = apply(action);
                if (child.phase == Phase::Lost) continue;
                const GameState& s = sim_.state();
                child.g = s.StageTime[stage_];
                child.ticks = nodes_[n].ticks + (ticked_ ? 1 : 0);
                if (child.phase == Phase::Exit) {
                    if (exit_ < 0 || child.ticks < nodes_[exit_].ticks) {
                        nodes_.push_back(std::move(child));
                        exit_ = static_cast<int>(nodes_.size()) - 1;
                    }
                    continue;
                }
                child.h = distance_.at(s.TrailX[0], s.TrailY[0], s.SpeedY) / kTopSpeed;
                child.cell = (static_cast<int>(s.TrailX[0]) + options_.cellShift) / kTileSize * 32 +
                             (static_cast<int>(s.TrailY[0]) + options_.cellShift) / kTileSize;
                const std::uint64_t k = key(child.phase);
                const bool free = !ticked_;
                if (free) {
                    if (!seenHere.insert(k).second) continue;
                    nodes_.push_back(std::move(child));
                    level.push_back(static_cast<int>(nodes_.size()) - 1);
                    continue;
                }
                const auto [it, added] = seenNext.try_emplace(k, -1);
                if (!added) continue;  // the same state reached one tick on already
                nodes_.push_back(std::move(child));
                it->second = static_cast<int>(nodes_.size()) - 1;
                next.push_back(it->second);
            }
        }
        return next;
    }

    // The states nearest the exit, at most perCell per 40-pixel cell, beam of them.
    std::vector<int> prune(std::vector<int> next) {
        std::stable_sort(next.begin(), next.end(),
                         [&](int a, int b) { return nodes_[a].h < nodes_[b].h; });
        std::vector<int> kept;
        std::unordered_map<int, int> perCell;
        for (int n : next) {
            if (static_cast<int>(kept.size()) == options_.beam) break;
            if (++perCell[nodes_[n].cell] > options_.perCell) continue;
            kept.push_back(n);
        }
        // Siblings one after the other: each parent is restored once for all of them.
        std::stable_sort(kept.begin(), kept.end(),
                         [&](int a, int b) { return nodes_[a].parent < nodes_[b].parent; });
        return kept;
    }

    SimCore& sim_;
    SearchOptions options_;
    int stage_;
    int balls_;
    ExitDistance distance_;
    Breakables breakables_;
    std::vector<Node> nodes_;
    int exit_ = -1;
    std::uint64_t tried_ = 0;
    bool ticked_ = false;  // whether the last apply ran Timer1
};

}  // namespace

StageResult SolveStage(SimCore& sim, const SearchOptions& options) {
    return Search(sim, options).run();
}

std::vector<SearchOptions> SearchSettings(int beam) {
    std::vector<SearchOptions> list;
    for (const auto& [perCell, cellShift] : kSettings) {
        SearchOptions o;
        o.beam = beam;
        o.perCell = perCell;
        o.cellShift = cellShift;
        list.push_back(o);
    }
    return list;
}

StageResult SolveBest(SimCore& sim, int beam) {
    StageResult best;
    std::uint64_t tried = 0;
    const int startTime = sim.state().StageTime[sim.state().StageNo];
    const int bound = TickBound(sim.state(), sim.form()).atStart();  // once for every search
    auto consider = [&](SearchOptions options) {
        options.bound = bound;
        // Once a way out is known, a search goes no further than its ticks: only a quicker one
        // would be kept, and a search finds what it finds tick by tick, so this changes nothing
        // but the time a search that does no better takes.
        if (best.solved) options.maxTicks = std::min(options.maxTicks, best.ticks - startTime);
        StageResult r = SolveStage(sim, options);
        r.setting = options;
        tried += r.tried;
        if (!best.setting.beam || (r.solved && (!best.solved || r.ticks < best.ticks)))
            best = std::move(r);
    };
    for (const SearchOptions& options : SearchSettings(beam)) consider(options);
    SearchOptions wider;
    for (int t = 0; t < 2 && !best.solved; ++t) {
        wider.beam = beam << (t + 1);
        consider(wider);
    }
    best.tried = tried;
    return best;
}

void PlayInputs(SimCore& sim, const std::vector<DemoInput>& inputs) {
    Game& game = sim.game();
    const int stage = game.stage();
    std::size_t i = 0;
    while (!game.ended() && game.stage() == stage) {
        for (; i < inputs.size() && inputs[i].point == game.handlersRun(); ++i)
            Deliver(game, inputs[i].kind, inputs[i].code);
        if (!sim.runNextTimer()) break;
    }
}

}  // namespace hopla
