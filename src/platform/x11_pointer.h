// The pointer as the X server reports it, with its place on the screen. SDL drops a motion
// whose position in the window did not change, and while the window follows the pointer in
// a drag that is every motion; the X server's own events keep them all.
#pragma once

union SDL_Event;

struct ScreenPointerEvent {
    enum Kind { Motion, ButtonDown, ButtonUp };
    Kind kind = Motion;
    int button = 0;   // 1 left, 2 middle, 3 right, as SDL numbers them
    int screenX = 0;
    int screenY = 0;
    bool leftHeld = false;   // once the event is done
    bool rightHeld = false;
};

// Has SDL hand over the X server's events; false (and nothing changed) when the video
// driver is not X11.
bool ReceiveX11PointerEvents();
// True, with out filled, when the event carries an X pointer motion or button event.
bool ReadX11PointerEvent(const SDL_Event& event, ScreenPointerEvent& out);
