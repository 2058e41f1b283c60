// The table from SDL key codes to Windows virtual-key codes, and the mouse-button codes.
#include "frontend/KeyCodes.h"

#include <SDL_keyboard.h>
#include <SDL_keycode.h>
#include <SDL_mouse.h>

#include <string>

#include "app/Keys.h"

namespace hopla {
namespace {

struct KeyPair {
    std::int32_t sdl;
    int windows;
};

// Keys outside the contiguous ranges handled in VirtualKeyFromSdl.
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, 8},
    {SDLK_TAB, 9},
    {SDLK_CLEAR, 12},
    {SDLK_RETURN, kVkEnter},
    {SDLK_KP_ENTER, kVkEnter},
    {SDLK_LSHIFT, 16},
    {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},
    {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},
    {SDLK_SPACE, kVkSpace},
    {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},
    {SDLK_HOME, 36},
    {SDLK_LEFT, kVkLeft},
    {SDLK_UP, kVkUp},
    {SDLK_RIGHT, kVkRight},
    {SDLK_DOWN, kVkDown},
    {SDLK_SELECT, 41},
    {SDLK_EXECUTE, 43},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},
    {SDLK_HELP, 47},
    {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},
    {SDLK_SLEEP, 95},
    {SDLK_KP_0, 96},
    {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DECIMAL, 110},
    {SDLK_KP_DIVIDE, 111},
    {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
    {SDLK_AC_BACK, 166},
    {SDLK_AC_FORWARD, 167},
    {SDLK_AC_REFRESH, 168},
    {SDLK_AC_STOP, 169},
    {SDLK_AC_SEARCH, 170},
    {SDLK_AC_BOOKMARKS, 171},
    {SDLK_AC_HOME, 172},
    {SDLK_MUTE, 173},
    {SDLK_VOLUMEDOWN, 174},
    {SDLK_VOLUMEUP, 175},
    {SDLK_AUDIONEXT, 176},
    {SDLK_AUDIOPREV, 177},
    {SDLK_AUDIOSTOP, 178},
    {SDLK_AUDIOPLAY, 179},
    {SDLK_MAIL, 180},
    {SDLK_MEDIASELECT, 181},
    // the punctuation keys of a US layout, by the character the key types
    {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

}  // namespace

std::optional<int> VirtualKeyFromSdl(std::int32_t sdlKey) {
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) return 'A' + (sdlKey - SDLK_a);
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return '0' + (sdlKey - SDLK_0);
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) return 112 + (sdlKey - SDLK_F1);
    if (sdlKey >= SDLK_F13 && sdlKey <= SDLK_F24) return 124 + (sdlKey - SDLK_F13);
    if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_9) return 97 + (sdlKey - SDLK_KP_1);
    for (const KeyPair& key : kNamedKeys)
        if (key.sdl == sdlKey) return key.windows;
    return std::nullopt;
}

KeyBindings DefaultKeyBindings() {
    KeyBindings keys;
    keys.left = {SDLK_LEFT, SDLK_a, SDLK_KP_4};
    keys.right = {SDLK_RIGHT, SDLK_d, SDLK_KP_6};
    keys.back = {SDLK_SPACE};
    WithPadDefaults(keys);
    return keys;
}

KeyBindings WithDefaults(KeyBindings bindings) {
    const KeyBindings defaults = DefaultKeyBindings();
    if (bindings.left.empty()) bindings.left = defaults.left;
    if (bindings.right.empty()) bindings.right = defaults.right;
    if (bindings.back.empty()) bindings.back = defaults.back;
    WithPadDefaults(bindings);
    return bindings;
}

std::optional<int> GameKeyOf(const KeyBindings& given, std::int32_t sdlKey) {
    const KeyBindings bindings = WithDefaults(given);
    const std::pair<const std::vector<std::int32_t>*, int> roles[] = {
        {&bindings.left, kVkLeft}, {&bindings.right, kVkRight}, {&bindings.back, kVkSpace}};
    for (const auto& [keys, code] : roles)
        for (const std::int32_t key : *keys)
            if (key == sdlKey) return code;
    const std::optional<int> own = VirtualKeyFromSdl(sdlKey);
    if (own == kVkLeft || own == kVkRight || own == kVkSpace) return std::nullopt;
    return own;
}

std::optional<std::int32_t> KeyFromName(std::string_view name) {
    const std::string text(name);
    const SDL_Keycode key = SDL_GetKeyFromName(text.c_str());
    if (key == SDLK_UNKNOWN) return std::nullopt;
    return key;
}

std::string KeyNames(const std::vector<std::int32_t>& keys) {
    std::string names;
    for (const std::int32_t key : keys) {
        if (!names.empty()) names += ", ";
        names += SDL_GetKeyName(key);
    }
    return names;
}

std::optional<int> MouseButtonFromSdl(int sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return kMouseLeft;
        case SDL_BUTTON_RIGHT:
            return kMouseRight;
        case SDL_BUTTON_MIDDLE:
            return kMouseMiddle;
        default:
            return std::nullopt;
    }
}

}  // namespace hopla
