// Skipping the opening on the game's clock.
#include "shell/QuickStart.h"

#include "app/Keys.h"
#include "form/GameState.h"

namespace hopla {
namespace {

// The opening runs a few hundred handlers; a game that never brings the ball to the title room
// is not skipped forever.
constexpr int kMostHandlers = 100000;

}  // namespace

bool BallInTitleRoom(const Game& game) {
    const std::optional<Game::DueTimer> next = game.nextDue();
    return game.stage() == kTitleStage && next && next->name == "Timer1";
}

bool AsksToSkip(const Routed& input) {
    switch (input.command) {
        case Command::KeyDown:
            return input.code == kVkEnter || input.code == kVkSpace;
        case Command::MouseDown:
        case Command::Select:
            return true;
        default:
            return false;
    }
}

int SkipOpening(Game& game, RealClock& clock, const std::function<bool()>& runDueTimer) {
    int ran = 0;
    while (ran < kMostHandlers && !game.ended() && !BallInTitleRoom(game)) {
        const std::optional<Game::DueTimer> next = game.nextDue();
        if (!next) break;
        clock.advanceTo(next->due);
        if (!runDueTimer()) break;
        ++ran;
    }
    return ran;
}

}  // namespace hopla
