// The key and mouse-button tables between SDL and the Windows codes.
#include "frontend/KeyCodes.h"

#include <SDL_keycode.h>
#include <SDL_mouse.h>

namespace hopla {

std::optional<int> VirtualKeyFromSdl(std::int32_t sdlKey) {
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) return 'A' + (sdlKey - SDLK_a);
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return '0' + (sdlKey - SDLK_0);
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) return 112 + (sdlKey - SDLK_F1);
    if (sdlKey >= SDLK_F13 && sdlKey <= SDLK_F24) return 124 + (sdlKey - SDLK_F13);
    if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_9) return 97 + (sdlKey - SDLK_KP_1);
    switch (sdlKey) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_CLEAR:
            return 12;
        case SDLK_RETURN:
            return 13;
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_LSHIFT:
            return 16;
        case SDLK_RSHIFT:
            return 16;
        case SDLK_LCTRL:
            return 17;
        case SDLK_RCTRL:
            return 17;
        case SDLK_LALT:
            return 18;
        case SDLK_RALT:
            return 18;
        case SDLK_PAUSE:
            return 19;
        case SDLK_CAPSLOCK:
            return 20;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_SPACE:
            return 32;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_END:
            return 35;
        case SDLK_HOME:
            return 36;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_SELECT:
            return 41;
        case SDLK_EXECUTE:
            return 43;
        case SDLK_PRINTSCREEN:
            return 44;
        case SDLK_INSERT:
            return 45;
        case SDLK_DELETE:
            return 46;
        case SDLK_HELP:
            return 47;
        case SDLK_LGUI:
            return 91;
        case SDLK_RGUI:
            return 92;
        case SDLK_APPLICATION:
            return 93;
        case SDLK_SLEEP:
            return 95;
        case SDLK_KP_0:
            return 96;
        case SDLK_KP_MULTIPLY:
            return 106;
        case SDLK_KP_PLUS:
            return 107;
        case SDLK_KP_MINUS:
            return 109;
        case SDLK_KP_PERIOD:
            return 110;
        case SDLK_KP_DECIMAL:
            return 110;
        case SDLK_KP_DIVIDE:
            return 111;
        case SDLK_NUMLOCKCLEAR:
            return 144;
        case SDLK_SCROLLLOCK:
            return 145;
        case SDLK_AC_BACK:
            return 166;
        case SDLK_AC_FORWARD:
            return 167;
        case SDLK_AC_REFRESH:
            return 168;
        case SDLK_AC_STOP:
            return 169;
        case SDLK_AC_SEARCH:
            return 170;
        case SDLK_AC_BOOKMARKS:
            return 171;
        case SDLK_AC_HOME:
            return 172;
        case SDLK_MUTE:
            return 173;
        case SDLK_VOLUMEDOWN:
            return 174;
        case SDLK_VOLUMEUP:
            return 175;
        case SDLK_AUDIONEXT:
            return 176;
        case SDLK_AUDIOPREV:
            return 177;
        case SDLK_AUDIOSTOP:
            return 178;
        case SDLK_AUDIOPLAY:
            return 179;
        case SDLK_MAIL:
            return 180;
        case SDLK_MEDIASELECT:
            return 181;
        // The punctuation keys of a US layout, by the character the key types.
        case SDLK_SEMICOLON:
            return 186;
        case SDLK_EQUALS:
            return 187;
        case SDLK_COMMA:
            return 188;
        case SDLK_MINUS:
            return 189;
        case SDLK_PERIOD:
            return 190;
        case SDLK_SLASH:
            return 191;
        case SDLK_BACKQUOTE:
            return 192;
        case SDLK_LEFTBRACKET:
            return 219;
        case SDLK_BACKSLASH:
            return 220;
        case SDLK_RIGHTBRACKET:
            return 221;
        case SDLK_QUOTE:
            return 222;
        default:
            return std::nullopt;
    }
}

std::optional<int> MouseButtonFromSdl(int sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        default:
            return std::nullopt;
    }
}

}  // namespace hopla
