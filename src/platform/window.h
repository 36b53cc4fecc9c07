// The game's one window: a borderless X11 window fed by SDL, and its message queue.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/scaling.h"
#include "platform/surface.h"

struct SDL_Window;
class Window;
using WindowProc = LParam (*)(Window* window, std::uint32_t message, WParam wParam, LParam lParam);

struct PopupItem {
    std::string text;
    int command;   // sent as WM_COMMAND when chosen
    bool greyed;
};

class Window {
public:
    // Creates and shows the window with the given X11 class name and UTF-8 title, at (x, y)
    // and width by height game pixels. Null when no display or no window can be had (the
    // reason goes to stderr). A scale whose window would not fit the screen is lowered.
    static std::unique_ptr<Window> Create(WindowProc proc, const std::string& className,
                                          const std::string& title, int x, int y, int width,
                                          int height, const DisplayOptions& display = {});
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Takes the next message if there is one. Keyboard, mouse, gamepad and close requests
    // become window-procedure messages, and so does each request to show the window's picture
    // again (WM_PAINT); WM_QUIT arrives once PostQuitMessage was called. In fullscreen the
    // window cannot be dragged: left-button presses and mouse moves are not reported there.
    bool PeekMessage(Message& out);
    // Sleeps until input arrives or timeoutNs nanoseconds have passed, and wakes within
    // microseconds of either: the display connection and a timer are watched together. A
    // negative timeout waits for input alone. Returns at once when a message is waiting.
    void WaitForEvent(std::int64_t timeoutNs);
    void PostQuitMessage(int exitCode);
    // Hands a message to the window procedure.
    LParam DispatchMessage(const Message& message);
    // Default processing: WM_CLOSE destroys the window, Alt+F4 closes it, Alt+Enter switches
    // between the window and fullscreen.
    LParam DefWindowProc(std::uint32_t message, WParam wParam, LParam lParam);
    // Sends WM_DESTROY to the window procedure, then removes the window from the screen.
    void Destroy();
    bool IsDestroyed() const { return destroyed_; }

    // Shows the window's part of a screen-sized surface (at the window's position), each
    // pixel at the window's scale. 0 on success, else an error code. At scale 1 in a window
    // the surface keeps that part in the window's own pixels from then on, so later frames
    // are drawn straight into the window and shown without a copy; elsewhere it is copied.
    int Present(Surface& screenSized);

    // Fullscreen shows the picture at the largest whole scale that fits the screen, centred
    // on black; leaving it puts the window back where it was.
    void SetFullscreen(bool on);
    bool IsFullscreen() const;

    void Move(int x, int y, int width, int height);
    Point Position() const;
    Point ClientToScreen(Point client) const;
    // High bit (0x80) set when the key is held, as the keyboard state table gives it.
    unsigned char KeyState(int virtualKey) const;
    // Whether WM_MOUSEMOVE comes also while no button is held, as a tool showing what is under
    // the pointer needs; the game's window reports moves only for dragging.
    void ReportMovesWithoutButtons(bool on);
    // The icon that task bars and window switchers show: side by side pixels, 0xAARRGGBB.
    void SetIcon(const std::uint32_t* argbPixels, int side);
    // Gives the window the keyboard focus again (after a dialog process closed).
    void TakeFocus();
    void SetTitle(const std::string& title);
    // Keys that arrive as other keys, by virtual-key code: each key pressed is reported as the
    // key it stands for (the player's own keys).
    void SetKeysStandingFor(std::map<int, int> keys);
    // Shows a popup menu of these items at a screen point, modal until an item is chosen
    // or it is dismissed. Returns the chosen command, 0 when dismissed (platform/popup_menu.cpp).
    int TrackPopupMenu(const std::vector<PopupItem>& items, Point screen);

    // The window that dialogs give the keyboard back to; null when none exists.
    static Window* Current();

private:
    Window(WindowProc proc, int width, int height);
    static int CurrentScale();
    friend int ScreenWidth();
    friend int ScreenHeight();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    WindowProc proc_ = nullptr;
    bool destroyed_ = false;
    friend struct WindowAccess;
};

// The virtual-key code of an SDL key (its keycode and scancode), 0 for keys the game has no
// code for (platform/key_codes.cpp). Keypad digits keep theirs whether NumLock is on or off.
int VirtualKeyOf(int sdlKeycode, int sdlScancode);
// One of SDL's key names ("E", "PageUp", "Keypad 5", in any case) as the game's virtual key,
// with the name as SDL writes it; kUnknownKeyName when SDL knows no such name, 0 when the
// game reads no such key.
constexpr int kUnknownKeyName = -1;
int VirtualKeyNamed(const std::string& name, std::string& sdlName);

// For tests: a window with no display behind it. It reads the events queued with
// SDL_PushEvent; it cannot present, move or show a popup menu, and fullscreen is only noted.
struct WindowAccess {
    static std::unique_ptr<Window> CreateHeadless(WindowProc proc, int width, int height);
    static SDL_Window* Sdl(const Window& window);
};

// The screen size in game pixels (the screen's pixels divided by the window's scale), as
// the system metrics give it.
int ScreenWidth();
int ScreenHeight();
