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
            break;
    }
    return {"A", "B", "Y", "Menu", "View", "LB / RB", "LT / RT", "Xbox"};
}

std::string MenuHint(InputFamily family) {
    if (family == InputFamily::Keyboard) return "Up/Down, Left/Right, Enter; Esc: back";
    const ButtonNames b = NamesOf(family);
    return std::string("D-pad; ") + b.confirm + ": choose, " + b.back + ": back";
}

std::string PausedHint(InputFamily family) {
    if (family == InputFamily::Keyboard) return "P to play on, Esc: menu";
    const ButtonNames b = NamesOf(family);
    return std::string(b.guide) + " or " + b.select + "+" + b.start + ": menu";
}

std::vector<std::string> ControllerKeyLines(InputFamily family) {
    const ButtonNames b = NamesOf(family);
    return {
        "D-pad or left stick: push the ball",
        std::string(b.start) + " or " + b.select + ": back to the title room",
        std::string(b.shoulders) + ": faster / slower",
        std::string(b.confirm) + ": skip the opening, leave the final screen",
        std::string(b.guide) + " or " + b.select + "+" + b.start + ": this menu",
    };
}

std::string EditorHint(InputFamily family) {
    if (family == InputFamily::Keyboard)
        return "PgUp next stage  PgDn previous  S start  T test  C check  Ctrl+S save";
    const ButtonNames b = NamesOf(family);
    return std::string(b.confirm) + " paint  " + b.back + " empty  " + b.shoulders + " tile  " +
           b.top + " start  " + b.triggers + " stage  " + b.start + " menu";
}

}  // namespace hopla
