// Asking the X server through SDL's own connection to it.
#include "frontend/X11Info.h"

#include <SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>

namespace hopla {
namespace {

Display* X11DisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    return info.info.x11.display;
}

}  // namespace

std::optional<KeyRepeatMs> X11KeyRepeat(SDL_Window* window) {
    Display* display = X11DisplayOf(window);
    if (!display) return std::nullopt;
    unsigned int delay = 0, interval = 0;
    if (!XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) || delay == 0 ||
        interval == 0)
        return std::nullopt;
    return KeyRepeatMs{delay, interval};
}

std::optional<bool> X11WindowManagerRuns(SDL_Window* window) {
    Display* display = X11DisplayOf(window);
    if (!display) return std::nullopt;
    // An EWMH window manager names its check window on the root window.
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &items, &after, &data);
    const bool runs = status == Success && type == XA_WINDOW && items == 1;
    if (data) XFree(data);
    return runs;
}

}  // namespace hopla
