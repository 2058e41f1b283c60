// The names of the keys and buttons the shell shows (the menu's hint line, the Keys page, the
// pause sign, the editor's strip): the keyboard's, or the controller's own as its maker prints
// them, whichever the player used last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/KeyBindings.h"

namespace hopla {

// What the player used last: the keyboard (or the pointer), a controller of a face layout, or
// the touch screen's buttons of the browser's page (which press the keyboard's keys).
enum class InputFamily { Keyboard, Xbox, PlayStation, Nintendo, Touch };
// Whether the family is a controller's, whose buttons the hints and the Keys page name.
inline bool IsController(InputFamily family) {
    return family != InputFamily::Keyboard && family != InputFamily::Touch;
}

// The buttons by what they do, named for a family: the bottom, right, top face buttons, Start
// and Back (Menu and View, Options and Share, + and -), the shoulders, the triggers, Guide.
struct ButtonNames {
    const char* confirm;  // the bottom face button: A, Cross, B
    const char* back;     // the right one: B, Circle, A
    const char* top;      // Y, Triangle, X
    const char* start;
    const char* select;
    const char* shoulders;
    const char* triggers;
    const char* guide;
};
ButtonNames NamesOf(InputFamily family);

// A controller button's name in a family's words; the keyboard's family uses the Xbox names.
std::string PadButtonName(PadButton button, InputFamily family);
// Buttons' names joined by ", ".
std::string PadButtonNames(const std::vector<std::int32_t>& buttons, InputFamily family);

// The menu's hint line and the pause sign's.
std::string MenuHint(InputFamily family);
std::string PausedHint(InputFamily family);
// The Keys page for a controller family.
std::vector<std::string> ControllerKeyLines(InputFamily family);
// The editor strip's line of keys, and its lines for the editor's menu (after the item), the
// letter picker (after the name typed so far and the letter picked) and the leave prompt.
std::string EditorHint(InputFamily family);
std::string EditorMenuHint(InputFamily family);
std::string PickerHint(InputFamily family, const std::string& picked);
std::string LeavePrompt(InputFamily family);

}  // namespace hopla
