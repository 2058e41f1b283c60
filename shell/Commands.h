// The shell's input vocabulary: what one input event asks of the game or of the shell, as the
// window's input router hands it on. No SDL.
#pragma once

#include <optional>

namespace hopla {

// The game's KeyDown, KeyUp and MouseDown (with a key code or mouse button of play/Keys.h), a
// command of the window (F12's Screenshot among them), or a move in the menu: Up, Down, Left,
// Right, Select and Back come from a controller's d-pad, A and B, or from the game's keys while
// the menu is open (MenuMoveOf); a controller's Select also skips the opening.
enum class Command {
    KeyDown,
    KeyUp,
    MouseDown,
    ToggleFullscreen,
    ScaleUp,
    ScaleDown,
    Screenshot,  // F12
    Menu,        // Esc, the controller's Guide, or its Back and Start together
    Pause,       // P or Pause
    Mute,        // M
    Up,
    Down,
    Left,
    Right,
    Select,
    Back,
    Action,        // a controller's Y: the editor places the start with it
    PageNext,      // a controller's right trigger: the editor's next stage
    PagePrevious,  // its left trigger: the previous one
    BindKey,       // while a new binding is asked for: a key pressed (code: the toolkit's key code)
    BindButton,    // ... or a controller's button (code: its PadButton)
};
// A key's KeyDown and KeyUp carry, besides the code its binding gives, the key's own code (as
// the game's codes spell keys) and whether Ctrl was held: the editor's keys are the keys
// themselves, whatever they are bound to. Two inputs are the same when command and code are.
struct Routed {
    Command command;
    int code = 0;
    int key = 0;
    bool ctrl = false;
    bool operator==(const Routed& other) const {
        return command == other.command && code == other.code;
    }
};

// The menu's move an input makes while the menu is open: the moves as they come, and the
// game's keys by what they are for (the arrows steer the selection, Enter and the back key
// choose); none for anything else.
std::optional<Command> MenuMoveOf(const Routed& input);

}  // namespace hopla
