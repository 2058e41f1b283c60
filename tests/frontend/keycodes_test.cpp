// The translation of SDL keys and mouse buttons into the Windows codes the handlers expect.
#include <SDL_keyboard.h>
#include <SDL_keycode.h>
#include <SDL_mouse.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "frontend/KeyCodes.h"

namespace hopla {
namespace {

struct KeyCase {
    std::int32_t sdl;
    std::optional<int> windows;
};

TEST(KeyCodes, TranslatesKeysToVirtualKeyCodes) {
    const KeyCase cases[] = {
        // what the game reacts to
        {SDLK_LEFT, 37},
        {SDLK_RIGHT, 39},
        {SDLK_SPACE, 32},
        // the rest of the usual table
        {SDLK_UP, 38},
        {SDLK_DOWN, 40},
        {SDLK_a, 65},
        {SDLK_m, 77},
        {SDLK_z, 90},
        {SDLK_0, 48},
        {SDLK_5, 53},
        {SDLK_9, 57},
        {SDLK_F1, 112},
        {SDLK_F10, 121},
        {SDLK_F12, 123},
        {SDLK_F13, 124},
        {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13},
        {SDLK_ESCAPE, 27},
        {SDLK_BACKSPACE, 8},
        {SDLK_TAB, 9},
        {SDLK_LSHIFT, 16},
        {SDLK_RSHIFT, 16},
        {SDLK_LCTRL, 17},
        {SDLK_RCTRL, 17},
        {SDLK_LALT, 18},
        {SDLK_RALT, 18},
        {SDLK_PAGEUP, 33},
        {SDLK_PAGEDOWN, 34},
        {SDLK_END, 35},
        {SDLK_HOME, 36},
        {SDLK_INSERT, 45},
        {SDLK_DELETE, 46},
        {SDLK_PRINTSCREEN, 44},
        {SDLK_KP_0, 96},
        {SDLK_KP_1, 97},
        {SDLK_KP_9, 105},
        {SDLK_KP_MULTIPLY, 106},
        {SDLK_KP_PLUS, 107},
        {SDLK_KP_MINUS, 109},
        {SDLK_KP_DIVIDE, 111},
        {SDLK_NUMLOCKCLEAR, 144},
        {SDLK_SEMICOLON, 186},
        {SDLK_SLASH, 191},
        {SDLK_BACKQUOTE, 192},
        {SDLK_QUOTE, 222},
        // keys without a code are dropped
        {SDLK_UNKNOWN, std::nullopt},
        {SDLK_MODE, std::nullopt},
        {SDLK_KP_EQUALS, std::nullopt},
        {SDLK_COLON, std::nullopt},
        {'{', std::nullopt},
        {'A', std::nullopt},  // SDL names letters by their lower-case character only
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(VirtualKeyFromSdl(c.sdl), c.windows) << "SDL key " << SDL_GetKeyName(c.sdl);
}

// The game indexes a 256-entry table by key code, so every code handed over must fit it.
TEST(KeyCodes, EveryTranslatedCodeFitsTheKeyTable) {
    int translated = 0;
    auto check = [&](std::int32_t key) {
        if (const std::optional<int> code = VirtualKeyFromSdl(key)) {
            ++translated;
            EXPECT_GT(*code, 0) << "SDL key " << key;
            EXPECT_LT(*code, 256) << "SDL key " << key;
        }
    };
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
        check(SDL_SCANCODE_TO_KEYCODE(scancode));
    for (int character = 0; character < 256; ++character) check(character);
    EXPECT_GT(translated, 100);
}

TEST(KeyCodes, TranslatesMouseButtons) {
    const struct {
        int sdl;
        std::optional<int> windows;
    } cases[] = {
        {SDL_BUTTON_LEFT, 1},          {SDL_BUTTON_RIGHT, 2},         {SDL_BUTTON_MIDDLE, 4},
        {SDL_BUTTON_X1, std::nullopt}, {SDL_BUTTON_X2, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(MouseButtonFromSdl(c.sdl), c.windows) << c.sdl;
}

}  // namespace
}  // namespace hopla
