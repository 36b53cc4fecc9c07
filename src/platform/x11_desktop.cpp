#include "platform/x11_desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>

namespace {

Display* X11DisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return info.info.x11.display;
}

// The window named by a window-valued property of another, 0 when there is none.
::Window WindowProperty(Display* display, ::Window of, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    ::Window named = 0;
    if (XGetWindowProperty(display, of, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &remaining,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1) {
        named = *reinterpret_cast<::Window*>(data);
    }
    if (data) XFree(data);
    return named;
}

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

bool ReadX11KeyRepeat(SDL_Window* window, int& delayMs, int& intervalMs) {
    Display* display = X11DisplayOf(window);
    unsigned int delay = 0, interval = 0;
    if (!display || !XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) || interval == 0) return false;
    delayMs = static_cast<int>(delay);
    intervalMs = static_cast<int>(interval);
    return true;
}

// A running manager names its check window on the root window, and the check window names
// itself; a stale property left by a manager that has gone does not.
bool X11WindowManagerRuns(SDL_Window* window) {
    Display* display = X11DisplayOf(window);
    if (!display) return false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    // The check window may be gone already: asking it must not end the program.
    XSync(display, False);
    const auto previousHandler = XSetErrorHandler(IgnoreXError);
    const ::Window named = WindowProperty(display, DefaultRootWindow(display), check);
    const bool runs = named != 0 && WindowProperty(display, named, check) == named;
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    return runs;
}
