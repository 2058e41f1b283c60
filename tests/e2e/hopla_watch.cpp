// hopla with a window onto what the game is given: the real game and frontend, the same command
// line, and on standard output one line per input handed to the game and per timer's first tick.
// Used by the window tests; never installed.
#include <cstdio>
#include <set>
#include <string>

#include "app/GameTesting.h"
#include "apps/hopla/Session.h"

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::set<std::string> ticked;
    return hopla::HoplaMain(argc, argv, [&](hopla::SdlApp& app) {
        hopla::Game& game = app.game();
        app.setInputObserver([&game](const hopla::Routed& input) {
            hopla::GameTesting testing(game);
            switch (input.command) {
                case hopla::Command::KeyDown:
                    std::printf("key down %d held %d interval %d time %d\n", input.code,
                                testing.state().HeldKey, testing.state().BallInterval,
                                testing.state().StageTime.at(
                                    static_cast<std::size_t>(testing.state().StageNo)));
                    break;
                case hopla::Command::KeyUp:
                    std::printf("key up %d\n", input.code);
                    break;
                case hopla::Command::MouseDown:
                    std::printf("mouse %d interval %d\n", input.code, testing.state().BallInterval);
                    break;
                default:
                    break;
            }
        });
        app.setTickObserver(
            [&ticked](std::string_view timer, hopla::Duration, hopla::Duration, hopla::Duration) {
                if (ticked.insert(std::string(timer)).second)
                    std::printf("first %.*s\n", static_cast<int>(timer.size()), timer.data());
            });
    });
}
