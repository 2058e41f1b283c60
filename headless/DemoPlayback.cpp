// The headless playback loop: inputs at their points, ticks in due order, checks compared.
#include "headless/DemoPlayback.h"

#include <algorithm>
#include <string>

namespace hopla {

PlaybackResult PlayDemo(SimCore& sim, const Demo& demo, std::optional<double> untilMs,
                        std::function<void(const DemoCheck&, bool)> onCheck) {
    Game& game = sim.game();
    Player player(game, sim.clock(), demo, std::move(onCheck));
    PlaybackResult result;
    const Duration until =
        untilMs ? Duration(static_cast<long long>(*untilMs * 1e6)) : Duration::max();
    while (!player.mismatch()) {
        while (player.inputDue() && !player.mismatch()) {
            const Duration recorded = milliseconds(player.next()->ms);
            Duration to = recorded;
            if (const std::optional<Game::DueTimer> next = game.nextDue())
                to = std::min(to, next->due);
            to = std::min(to, until);
            sim.clock().advanceTo(to);
            player.deliverNext();
        }
        if (player.mismatch() || player.finished()) break;
        const std::optional<Game::DueTimer> next = game.nextDue();
        if (!next) {
            const DemoInput* in = player.next();
            player.stalled(game.ended() ? std::string("the game ended before the demo did")
                           : in         ? "nothing runs, and the demo's next input is at point " +
                                      std::to_string(in->point)
                                : "nothing runs, and the demo ends at point " +
                                      std::to_string(demo.endPoint));
            break;
        }
        if (next->due > until) {
            sim.clock().advanceTo(until);
            break;
        }
        sim.clock().advanceTo(next->due);
        game.runDueTimer();
    }
    result.finished = player.finished() && !player.mismatch();
    result.mismatch = player.mismatch();
    return result;
}

}  // namespace hopla
