// What the X server tells about the window's surroundings; nothing when the window is not on X11.
#pragma once

#include <SDL.h>

#include <optional>

namespace hopla {

// The keyboard's auto-repeat the X server sends the window: the first repeat `delayMs` after
// the press, then one every `intervalMs`.
struct KeyRepeatMs {
    unsigned delayMs;
    unsigned intervalMs;
};
std::optional<KeyRepeatMs> X11KeyRepeat(SDL_Window* window);

// Whether a window manager runs that follows the desktop conventions (EWMH): it is the one
// that puts a window on the whole screen when asked.
std::optional<bool> X11WindowManagerRuns(SDL_Window* window);

}  // namespace hopla
