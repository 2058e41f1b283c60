// The key and button names of each family, and the hint lines made of them.
#include "shell/ButtonNames.h"

namespace hopla {

ButtonNames NamesOf(InputFamily family) {
    switch (family) {
        case InputFamily::PlayStation:
            return {"Cross", "Circle", "Triangle", "Options", "Share", "L1 / R1", "L2 / R2", "PS"};
        case InputFamily::Nintendo:
            // SDL names the buttons by place: the bottom one is Nintendo's B.
            return {"B", "A", "X", "+", "-", "L / R", "ZL / ZR", "Home"};
        case InputFamily::Xbox:
        case InputFamily::Keyboard:
        case InputFamily::Touch:
            break;
    }
    return {"A", "B", "Y", "Menu", "View", "LB / RB", "LT / RT", "Xbox"};
}

std::string PadButtonName(PadButton button, InputFamily family) {
    const ButtonNames b = NamesOf(family);
    const bool ps = family == InputFamily::PlayStation, nintendo = family == InputFamily::Nintendo;
    switch (button) {
        case PadButton::South:
            return b.confirm;
        case PadButton::East:
            return b.back;
        case PadButton::West:
            return ps ? "Square" : nintendo ? "Y" : "X";
        case PadButton::North:
            return b.top;
        case PadButton::Back:
            return b.select;
        case PadButton::Guide:
            return b.guide;
        case PadButton::Start:
            return b.start;
        case PadButton::LeftStick:
            return ps ? "L3" : "Left stick";
        case PadButton::RightStick:
            return ps ? "R3" : "Right stick";
        case PadButton::LeftShoulder:
            return ps ? "L1" : nintendo ? "L" : "LB";
        case PadButton::RightShoulder:
            return ps ? "R1" : nintendo ? "R" : "RB";
        case PadButton::DpadUp:
            return "D-pad up";
        case PadButton::DpadDown:
            return "D-pad down";
        case PadButton::DpadLeft:
            return "D-pad left";
        case PadButton::DpadRight:
            return "D-pad right";
        case PadButton::Misc:
            return ps ? "Mic" : nintendo ? "Capture" : "Share";
        case PadButton::Paddle1:
        case PadButton::Paddle2:
        case PadButton::Paddle3:
        case PadButton::Paddle4:
            return "Paddle " + std::to_string(static_cast<int>(button) -
                                              static_cast<int>(PadButton::Paddle1) + 1);
        case PadButton::Touchpad:
            return "Touchpad";
    }
    return "?";
}

std::string PadButtonNames(const std::vector<std::int32_t>& buttons, InputFamily family) {
    std::string names;
    for (const std::int32_t button : buttons) {
        if (button < 0 || button >= kPadButtons) continue;
        if (!names.empty()) names += ", ";
        names += PadButtonName(static_cast<PadButton>(button), family);
    }
    return names;
}

std::string MenuHint(InputFamily family) {
    if (family == InputFamily::Keyboard) return "Up/Down, Left/Right, Enter; Esc: back";
    // The page's buttons: Left and Right step a row, Menu leaves; a tap on a row chooses it.
    if (family == InputFamily::Touch) return "Tap a row; Left/Right: change; Menu: back";
    const ButtonNames b = NamesOf(family);
    return std::string("D-pad; ") + b.confirm + ": choose, " + b.back + ": back";
}

namespace {

// Guide, or Back and Start held together: what opens the menu.
std::string MenuButtons(const ButtonNames& b) {
    return std::string(b.guide) + ", or " + b.select + " and " + b.start;
}

}  // namespace

std::string PausedHint(InputFamily family) {
    if (family == InputFamily::Keyboard) return "P to play on, Esc: menu";
    if (family == InputFamily::Touch) return "Pause to play on, Menu: menu";
    return MenuButtons(NamesOf(family)) + ": menu";
}

std::vector<std::string> ControllerKeyLines(InputFamily family) {
    const ButtonNames b = NamesOf(family);
    return {
        "Left stick: push the ball too",
        std::string(b.shoulders) + ": faster / slower",
        std::string(b.confirm) + ": skip the opening, leave the final screen",
        MenuButtons(b) + ": this menu",
    };
}

std::string EditorHint(InputFamily family) {
    if (!IsController(family))
        return "PgUp next stage  PgDn previous  S start  T test  C check  Ctrl+S save";
    const ButtonNames b = NamesOf(family);
    return std::string(b.confirm) + " paint  " + b.back + " empty  " + b.shoulders + " tile  " +
           b.top + " start  " + b.triggers + " stage  " + b.start + " menu";
}

std::string EditorMenuHint(InputFamily family) {
    if (!IsController(family)) return "Enter: choose  Esc: close";
    const ButtonNames b = NamesOf(family);
    return std::string(b.confirm) + ": choose  " + b.back + ": close";
}

// A controller's Guide cancels too, left unsaid: the line has no room for it.
std::string PickerHint(InputFamily family, const std::string& picked) {
    const std::string pick = "Pick < " + picked + " >  ";
    if (!IsController(family)) return "Enter: keep  Esc: cancel  " + pick + "Down: add";
    const ButtonNames b = NamesOf(family);
    return pick + b.confirm + " add  " + b.back + " delete  " + b.start + " keep";
}

std::string LeavePrompt(InputFamily family) {
    if (!IsController(family)) return "Save changes? Y/N/Esc";
    const ButtonNames b = NamesOf(family);
    return std::string("Save changes? ") + b.confirm + ": save  " + b.start + ": don't  " + b.back +
           ": back";
}

}  // namespace hopla
