// A close request that comes as a window manager's does: through the X server. Apart from the
// window tests, since the X11 headers name a type Window too.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

bool SendCloseRequestThroughTheServer(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    XEvent event{};
    event.xclient = XClientMessageEvent{ClientMessage, 0, False, display, info.info.x11.window,
                                        XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    return XSendEvent(display, info.info.x11.window, False, NoEventMask, &event) && XFlush(display);
}
