// The keyboard's auto-repeat as the X server sends it to the window.
#include <SDL_syswm.h>
#include <X11/XKBlib.h>

#include <chrono>

#include "frontend/InputRouter.h"

namespace hopla {

RepeatTiming KeyboardRepeatOf(SDL_Window* window) {
    RepeatTiming timing;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return timing;
    unsigned int delay = 0, interval = 0;
    if (XkbGetAutoRepeatRate(info.info.x11.display, XkbUseCoreKbd, &delay, &interval) &&
        delay > 0 && interval > 0) {
        timing.delay = std::chrono::milliseconds(delay);
        timing.interval = std::chrono::milliseconds(interval);
    }
    return timing;
}

}  // namespace hopla
