// What the X desktop tells about itself: the keyboard's auto-repeat and whether a window
// manager runs. Kept apart from window.cpp for the same reason as x11_pointer.h.
#pragma once

struct SDL_Window;

// The keyboard's auto-repeat delay and interval in milliseconds; false when the window
// is not on X11 or the server does not say.
bool ReadX11KeyRepeat(SDL_Window* window, int& delayMs, int& intervalMs);
// True when a window manager that follows the desktop conventions (EWMH) runs on the
// window's screen, so fullscreen can be asked of it.
bool X11WindowManagerRuns(SDL_Window* window);
