// The menu's reading of the game's keys.
#include "shell/Commands.h"

#include "app/Keys.h"

namespace hopla {

std::optional<Command> MenuMoveOf(const Routed& input) {
    switch (input.command) {
        case Command::Up:
        case Command::Down:
        case Command::Left:
        case Command::Right:
        case Command::Select:
        case Command::Back:
            return input.command;
        case Command::KeyDown:
            switch (input.code) {
                case kVkUp:
                    return Command::Up;
                case kVkDown:
                    return Command::Down;
                case kVkLeft:
                    return Command::Left;
                case kVkRight:
                    return Command::Right;
                case kVkEnter:
                case kVkSpace:
                    return Command::Select;
                default:
                    return std::nullopt;
            }
        default:
            return std::nullopt;
    }
}

}  // namespace hopla
