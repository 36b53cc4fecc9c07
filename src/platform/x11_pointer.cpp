// Kept apart from window.cpp: the X headers define names (Window, None, Bool) that clash
// with the game's own.
#include "platform/x11_pointer.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

bool ReceiveX11PointerEvents() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return false;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

bool ReadX11PointerEvent(const SDL_Event& event, ScreenPointerEvent& out) {
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    unsigned int state = 0;
    switch (x.type) {
    case MotionNotify:
        out.kind = ScreenPointerEvent::Motion;
        out.button = 0;
        out.screenX = x.xmotion.x_root;
        out.screenY = x.xmotion.y_root;
        state = x.xmotion.state;
        break;
    case ButtonPress:
    case ButtonRelease:
        out.kind = x.type == ButtonPress ? ScreenPointerEvent::ButtonDown : ScreenPointerEvent::ButtonUp;
        out.button = static_cast<int>(x.xbutton.button);
        out.screenX = x.xbutton.x_root;
        out.screenY = x.xbutton.y_root;
        state = x.xbutton.state;
        break;
    default:
        return false;
    }
    // The state is the one before the event; a button event changes its own button.
    out.leftHeld = (state & Button1Mask) != 0;
    out.rightHeld = (state & Button3Mask) != 0;
    const bool pressed = out.kind == ScreenPointerEvent::ButtonDown;
    if (out.button == 1) out.leftHeld = pressed;
    if (out.button == 3) out.rightHeld = pressed;
    return true;
}
