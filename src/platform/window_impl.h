// The window's own state, shared by the files it is made of: window.cpp, window_events.cpp
// (its events) and popup_menu.cpp; nothing else includes it.
#pragma once
#include <SDL.h>

#include <deque>
#include <map>
#include <vector>

#include "platform/gamepads.h"
#include "platform/input_wait.h"
#include "platform/scaling.h"
#include "platform/window.h"

// Bits of a key message's lParam.
constexpr LParam kAltDownBit = LParam{1} << 29;
constexpr LParam kWasDownBit = LParam{1} << 30;
constexpr LParam kReleasedBit = static_cast<LParam>(std::uint32_t{1} << 31);

struct Window::Impl {
    SDL_Window* sdl = nullptr;
    Point origin{0, 0};  // where the game asked the window to be, in game pixels
    int width = 0;       // the game's picture, in game pixels
    int height = 0;
    int scale = 1;       // screen pixels per game pixel in the window
    bool fullscreen = false;
    bool fullscreenByManager = false;  // asked of the window manager, which undoes it too
    bool quitPosted = false;
    int quitCode = 0;
    bool destroying = false;
    // Ctrl as of the last translated event, so a click reads the state it happened in.
    bool controlDown = false;
    bool altDown = false;
    // The key last pressed with Alt held, until it is let go: its repeats stay system keys.
    int heldSystemKey = 0;
    // On X11 the mouse messages come from the X server's events, which give the pointer's
    // place on the screen; SDL's own mouse events are then left aside.
    bool pointerFromX11 = false;
    // Dragging needs the pointer's place on the screen and a window that can be placed: X11
    // gives both, other drivers (Wayland) neither. A window without a display is a test's.
    bool draggable = true;
    bool movesWithoutButtons = false;
    InputWait wait;
    std::uint64_t lastPumpTicks = 0;  // when SDL last read the display (SDL_GetTicks64)
    // The window's pixels as last lent to a screen-sized surface to compose in (scale 1, in a
    // window); they must be given back before SDL may free them.
    SDL_Surface* lentPixels = nullptr;
    Gamepads pads;
    // Messages made ahead: one pad event can give two (a stick turned from left to up).
    std::deque<Message> pending;
    std::map<int, int> keysStandingFor;  // virtual-key code > the one reported

    bool Translate(const SDL_Event& event, Message& out);
    bool TranslateMouse(const SDL_Event& event, Message& out);
    bool TranslateWheel(const SDL_MouseWheelEvent& wheel, Message& out) const;
    void QueuePadEvents(const std::vector<PadButtonEvent>& events);
    bool TakePending(Message& out);
    bool NextEvent(SDL_Event& event);
    bool TranslateKey(const SDL_KeyboardEvent& key, Message& out);
    bool TranslateX11Pointer(const SDL_Event& event, Message& out);
    bool TranslateWindowEvent(const SDL_WindowEvent& window, Message& out);
    bool MouseButtonMessage(int button, bool down, WParam keys, Point at, Message& out) const;
    WParam MouseKeys(Uint32 buttons) const;
    Point ScreenPosition() const;
    PicturePlacement Placement(int windowWidth, int windowHeight) const;
    PicturePlacement Placement() const;
    Point GamePoint(int windowX, int windowY) const;
    void PlaceWindow();
    SDL_Surface* WindowPixels();
    void TakeBackLentPixels();
    static int TakeBackLentPixelsOnResize(void* impl, SDL_Event* event);
    bool ComposesInWindow(Surface& screenSized, SDL_Surface* target);
};

// The game picture at the placement's scale, from the part at (x, y) of the source, into a
// window's surface (platform/window.cpp). False when the copy failed.
bool ShowScaled(const SDL_Surface* source, int x, int y, int width, int height, SDL_Surface* target,
                const PicturePlacement& at);
