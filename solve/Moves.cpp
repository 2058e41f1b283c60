// The solver's move set: the key presses it tries between ticks, and the phase a step leaves.
#include "solve/Moves.h"

#include "app/Keys.h"
#include "demo/Recorder.h"

namespace hopla {
namespace {

constexpr int kLeft = kVkLeft, kRight = kVkRight;
// How often an arrow may be pressed between two ticks, as a keyboard's repeat does.
constexpr std::array<int, 3> kPresses = {1, 2, 6};

Action Keys(std::initializer_list<std::pair<InputKind, int>> keys) {
    Action a;
    for (const auto& k : keys) a.inputs[a.count++] = k;
    return a;
}

}  // namespace

Phase Classify(SimCore& sim, int stage, int balls) {
    const GameState& s = sim.state();
    const Form1& f = sim.form();
    if (sim.game().ended() || s.BallsLeft < balls) return Phase::Lost;
    if (s.StageNo != stage) return Phase::Exit;
    if (f.Timer1.running()) return Phase::Play;
    if (f.Timer3.running()) return Phase::Flight;
    if (s.BallState == kBallCaught) return Phase::Caught;
    return Phase::Lost;
}

std::vector<Action> Moves(Phase phase, const GameState& s) {
    const int held = s.HeldKey;
    std::vector<Action> list;
    switch (phase) {
        case Phase::Play:
            list.push_back({});
            if (held) list.push_back(Keys({{InputKind::KeyUp, held}}));
            for (int key : {kRight, kLeft}) {
                for (int presses : kPresses) {
                    Action a;
                    for (int i = 0; i < presses; ++i)
                        a.inputs[a.count++] = {InputKind::KeyDown, key};
                    list.push_back(a);
                }
            }
            break;
        case Phase::Caught:
            for (int key : {kRight, kLeft}) {
                list.push_back(Keys({{InputKind::KeyDown, key}}));
                if (held)
                    list.push_back(Keys({{InputKind::KeyUp, held}, {InputKind::KeyDown, key}}));
            }
            break;
        case Phase::Flight:
            list.push_back({});
            list.push_back(Keys({{InputKind::KeyDown, s.SpeedX > 0 ? kLeft : kRight}}));
            break;
        default:
            break;
    }
    return list;
}

void Apply(SimCore& sim, const Action& action, bool& ticked) {
    Game& game = sim.game();
    for (int i = 0; i < action.count; ++i)
        Deliver(game, action.inputs[i].first, action.inputs[i].second);
    ticked = sim.runNextTimer() == "Timer1";
}

}  // namespace hopla
