// The pause's gate on the game's input.
#include "shell/PauseGate.h"

#include <algorithm>

namespace hopla {

bool PauseGate::hold(PauseReason reason) {
    const bool starts = reasons_ == 0;
    reasons_ |= static_cast<unsigned>(reason);
    return starts;
}

bool PauseGate::release(PauseReason reason, std::vector<Routed>& out) {
    if (reasons_ == 0) return false;
    reasons_ &= ~static_cast<unsigned>(reason);
    if (reasons_ != 0) return false;
    for (const int code : letGo_) {
        out.push_back({Command::KeyUp, code});
        held_.erase(code);
    }
    letGo_.clear();
    return true;
}

bool PauseGate::pass(const Routed& input) {
    if (!paused()) {
        if (input.command == Command::KeyDown) {
            held_.insert(input.code);
            kept_.erase(input.code);
        }
        if (input.command == Command::KeyUp) {
            held_.erase(input.code);
            if (kept_.erase(input.code) > 0) return false;
        }
        return true;
    }
    if (input.command == Command::KeyDown && !held_.contains(input.code)) kept_.insert(input.code);
    if (input.command == Command::KeyUp) kept_.erase(input.code);
    const auto owed = std::find(letGo_.begin(), letGo_.end(), input.code);
    if (input.command == Command::KeyUp && held_.contains(input.code) && owed == letGo_.end())
        letGo_.push_back(input.code);
    // Pressed again before play resumed: held as the game believes, nothing owed.
    if (input.command == Command::KeyDown && owed != letGo_.end()) letGo_.erase(owed);
    return false;
}

}  // namespace hopla
