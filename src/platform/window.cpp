// The game's window on SDL2: SDL events become the messages of the game's window procedure,
// and a frame composed on a screen-sized surface is copied into the window.
#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "platform/display_loss.h"
#include "platform/draw_context.h"
#include "platform/font.h"
#include "platform/gamepads.h"
#include "platform/input_wait.h"
#include "platform/printable.h"
#include "platform/process.h"
#include "platform/scaling.h"
#include "platform/x11_desktop.h"
#include "platform/x11_pointer.h"

namespace {

Window* currentWindow = nullptr;

constexpr LParam kAltDownBit = LParam{1} << 29;
constexpr LParam kWasDownBit = LParam{1} << 30;
constexpr LParam kReleasedBit = static_cast<LParam>(std::uint32_t{1} << 31);
constexpr int VK_F10 = 121;
// How often the popup menu reads the pads while it waits for the pointer.
constexpr int kMenuPadReadMilliseconds = 33;

bool StartVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // SIGINT, SIGTERM and SIGHUP keep their default action and end the game at once, also
    // while it waits for a dialog; SDL's own handlers would only queue a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Only on X can the window be placed and dragged, so where an X display is named SDL is
    // asked for its X11 driver (an SDL 2 program run on SDL 3 would get Wayland); a driver the
    // player chose stays his choice. An empty SDL_VIDEODRIVER chooses none, but SDL would read
    // it before an ordinary hint, so the hint overrides it.
    const char* display = std::getenv("DISPLAY");
    const char* chosenDriver = std::getenv("SDL_VIDEODRIVER");
    if (display && *display && (!chosenDriver || !*chosenDriver))
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    EndProcessWhenDisplayIsLost();
    EndChildProcessesWithGame();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "quonfel: cannot open the display: %s\n", Printable(SDL_GetError()).c_str());
        return false;
    }
    return true;
}

// The scale asked for, lowered until a window of that scale fits the screen whole.
int WindowScale(const DisplayOptions& display, int width, int height) {
    const int asked = std::clamp(display.scale, 1, kLargestWindowScale);
    SDL_DisplayMode screen{};
    if (SDL_GetDesktopDisplayMode(0, &screen) != 0) return display.autoScale ? 1 : asked;
    if (display.autoScale) return AutoScale(screen.w, screen.h, width, height);
    const int fitting = std::min(asked, FittingScale(screen.w, screen.h, width, height));
    if (fitting < asked) {
        std::fprintf(stderr, "quonfel: a window at scale %d does not fit the %dx%d screen; scale %d is used\n",
                     asked, screen.w, screen.h, fitting);
    }
    return fitting;
}

// The game picture at the placement's scale, from the part at (x, y) of the source. Our
// own copy where the window keeps the same pixels: SDL's stretch does not repeat them evenly,
// and its plain copy writes past the cache, which costs a third more here. SDL converts
// where the pixels differ.
bool ShowScaled(const SDL_Surface* source, int x, int y, int width, int height, SDL_Surface* target,
                const PicturePlacement& at) {
    if (source->format->format == target->format->format && target->format->BytesPerPixel == 4) {
        CopyScaled(source, x, y, width, height, target, at.x, at.y, at.scale);
        return true;
    }
    SDL_Rect part{x, y, width, height};
    SDL_Rect place{at.x, at.y, width * at.scale, height * at.scale};
    return SDL_BlitScaled(const_cast<SDL_Surface*>(source), &part, target, &place) == 0;
}

// Black around the picture (a fullscreen window is larger than it).
void ClearAround(SDL_Surface* target, const PicturePlacement& at, int width, int height) {
    const int right = at.x + width * at.scale;
    const int bottom = at.y + height * at.scale;
    const SDL_Rect borders[] = {{0, 0, target->w, at.y},
                                {0, bottom, target->w, target->h - bottom},
                                {0, at.y, at.x, bottom - at.y},
                                {right, at.y, target->w - right, bottom - at.y}};
    for (const SDL_Rect& border : borders) {
        if (border.w > 0 && border.h > 0) SDL_FillRect(target, &border, 0);
    }
}

// The keypad keeps its digits whatever NumLock says, so it is known by its scancode.
int KeypadKey(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_1: return VK_NUMPAD0 + 1;
    case SDL_SCANCODE_KP_2: return VK_NUMPAD0 + 2;
    case SDL_SCANCODE_KP_3: return VK_NUMPAD0 + 3;
    case SDL_SCANCODE_KP_4: return VK_NUMPAD0 + 4;
    case SDL_SCANCODE_KP_5: return VK_NUMPAD0 + 5;
    case SDL_SCANCODE_KP_6: return VK_NUMPAD0 + 6;
    case SDL_SCANCODE_KP_7: return VK_NUMPAD0 + 7;
    case SDL_SCANCODE_KP_8: return VK_NUMPAD0 + 8;
    case SDL_SCANCODE_KP_9: return VK_NUMPAD0 + 9;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: return 0;
    }
}

int SymbolKey(SDL_Keycode sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (sym - SDLK_KP_1);
    switch (sym) {
    case SDLK_KP_0: return VK_NUMPAD0;
    // The keypad with NumLock off, should a keysym come without its keypad scancode.
    case SDLK_HOME: return 36;
    case SDLK_END: return 35;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_CLEAR: return 12;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_EQUALS:
    case SDLK_PLUS: return VK_OEM_PLUS;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
    }
}

}  // namespace

int VirtualKeyOf(int sdlKeycode, int sdlScancode) {
    const int keypad = KeypadKey(static_cast<SDL_Scancode>(sdlScancode));
    return keypad != 0 ? keypad : SymbolKey(static_cast<SDL_Keycode>(sdlKeycode));
}

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
    Gamepads pads;
    // Messages made ahead: one pad event can give two (a stick turned from left to up).
    std::deque<Message> pending;

    bool Translate(const SDL_Event& event, Message& out);
    bool TranslateMouse(const SDL_Event& event, Message& out);
    bool TranslateWheel(const SDL_MouseWheelEvent& wheel, Message& out) const;
    void QueuePadEvents(const std::vector<PadButtonEvent>& events);
    bool TakePending(Message& out);
    bool TranslateKey(const SDL_KeyboardEvent& key, Message& out);
    bool TranslateX11Pointer(const SDL_Event& event, Message& out);
    bool TranslateWindowEvent(const SDL_WindowEvent& window, Message& out);
    bool MouseButtonMessage(int button, bool down, WParam keys, Point at, Message& out) const;
    WParam MouseKeys(Uint32 buttons) const;
    Point ScreenPosition() const;
    Point GamePosition() const;
    PicturePlacement Placement(int windowWidth, int windowHeight) const;
    PicturePlacement Placement() const;
    Point GamePoint(int windowX, int windowY) const;
    void PlaceWindow();
};

// In screen pixels.
Point Window::Impl::ScreenPosition() const {
    if (!sdl) return origin;
    Point at{0, 0};
    SDL_GetWindowPosition(sdl, &at.x, &at.y);
    return at;
}

// In game pixels; a fullscreen window stands for the window the game placed.
Point Window::Impl::GamePosition() const {
    if (!sdl || fullscreen) return origin;
    const Point at = ScreenPosition();
    return Point{FloorDivide(at.x, scale), FloorDivide(at.y, scale)};
}

PicturePlacement Window::Impl::Placement(int windowWidth, int windowHeight) const {
    const int shown = fullscreen ? FittingScale(windowWidth, windowHeight, width, height) : scale;
    return CentredPicture(windowWidth, windowHeight, width, height, shown);
}

PicturePlacement Window::Impl::Placement() const {
    int windowWidth = width * scale, windowHeight = height * scale;
    if (sdl) SDL_GetWindowSize(sdl, &windowWidth, &windowHeight);
    return Placement(windowWidth, windowHeight);
}

// The game pixel under a pixel of the window.
Point Window::Impl::GamePoint(int windowX, int windowY) const {
    const PicturePlacement at = Placement();
    return Point{FloorDivide(windowX - at.x, at.scale), FloorDivide(windowY - at.y, at.scale)};
}

// The window as the game placed it, each game pixel scale by scale.
void Window::Impl::PlaceWindow() {
    SDL_SetWindowSize(sdl, width * scale, height * scale);
    SDL_SetWindowPosition(sdl, origin.x * scale, origin.y * scale);
}

void Window::Impl::QueuePadEvents(const std::vector<PadButtonEvent>& events) {
    for (const PadButtonEvent& event : events) {
        Message message{event.down ? WM_PADBUTTONDOWN : WM_PADBUTTONUP, static_cast<WParam>(event.button),
                        static_cast<LParam>(event.pad & 0xFFFF)};
        if (event.repeat) message.lParam |= kWasDownBit;
        if (!event.down) message.lParam |= kWasDownBit | kReleasedBit;
        pending.push_back(message);
    }
}

bool Window::Impl::TakePending(Message& out) {
    if (pending.empty()) return false;
    out = pending.front();
    pending.pop_front();
    return true;
}

bool Window::Impl::TranslateKey(const SDL_KeyboardEvent& key, Message& out) {
    const bool down = key.type == SDL_KEYDOWN;
    const int vk = VirtualKeyOf(key.keysym.sym, key.keysym.scancode);
    if (vk == VK_CONTROL) controlDown = down;
    if (vk == VK_MENU) altDown = down;
    if (vk == 0) return false;
    if (down && !key.repeat && !altDown && vk == heldSystemKey) heldSystemKey = 0;
    // Keys pressed with Alt held, Alt itself and F10 are system keys; so are the repeats of a
    // key pressed with Alt after Alt is let go, or holding Alt+Enter would reach the game's Enter.
    const bool system = altDown || vk == VK_MENU || vk == VK_F10 || vk == heldSystemKey;
    if (down && !key.repeat && altDown && vk != VK_MENU) heldSystemKey = vk;
    if (!down && vk == heldSystemKey) heldSystemKey = 0;
    out.message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    out.wParam = static_cast<WParam>(vk);
    out.lParam = 1 | (static_cast<LParam>(key.keysym.scancode & 0xFF) << 16);
    if (altDown && vk != VK_MENU) out.lParam |= kAltDownBit;
    if (!down) out.lParam |= kWasDownBit | kReleasedBit;
    else if (key.repeat) out.lParam |= kWasDownBit;
    return true;
}

WParam Window::Impl::MouseKeys(Uint32 buttons) const {
    WParam keys = 0;
    if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
    if (controlDown) keys |= MK_CONTROL;
    return keys;
}

bool Window::Impl::MouseButtonMessage(int button, bool down, WParam keys, Point at, Message& out) const {
    if (button == SDL_BUTTON_LEFT) out.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    else if (button == SDL_BUTTON_RIGHT && down) out.message = WM_RBUTTONDOWN;
    else return false;
    out.wParam = keys;
    out.lParam = MakePointParam(at.x, at.y);
    return true;
}

// The window point is the screen point less the window's place, so a drag that turns it
// back into a screen point with ClientToScreen gets the pointer's own screen position (in
// game pixels).
bool Window::Impl::TranslateX11Pointer(const SDL_Event& event, Message& out) {
    ScreenPointerEvent pointer;
    if (!ReadX11PointerEvent(event, pointer)) return false;
    const Point window = ScreenPosition();
    const Point at = GamePoint(pointer.screenX - window.x, pointer.screenY - window.y);
    const WParam keys =
        MouseKeys((pointer.leftHeld ? SDL_BUTTON_LMASK : 0u) | (pointer.rightHeld ? SDL_BUTTON_RMASK : 0u));
    if (pointer.kind != ScreenPointerEvent::Motion)
        return MouseButtonMessage(pointer.button, pointer.kind == ScreenPointerEvent::ButtonDown, keys, at, out);
    out.message = WM_MOUSEMOVE;
    out.wParam = keys;
    out.lParam = MakePointParam(at.x, at.y);
    return true;
}

bool Window::Impl::TranslateMouse(const SDL_Event& event, Message& out) {
    switch (event.type) {
    case SDL_SYSWMEVENT:
        return TranslateX11Pointer(event, out);
    case SDL_MOUSEMOTION: {
        // X reports moves only while a button is held; the others come from SDL.
        const bool buttonless = movesWithoutButtons && event.motion.state == 0;
        if (pointerFromX11 && !buttonless) return false;
        const Point at = GamePoint(event.motion.x, event.motion.y);
        out.message = WM_MOUSEMOVE;
        out.wParam = MouseKeys(event.motion.state);
        out.lParam = MakePointParam(at.x, at.y);
        return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (pointerFromX11) return false;
        return MouseButtonMessage(event.button.button, event.type == SDL_MOUSEBUTTONDOWN,
                                  MouseKeys(SDL_GetMouseState(nullptr, nullptr)),
                                  GamePoint(event.button.x, event.button.y), out);
    default:
        return false;
    }
}

bool Window::Impl::TranslateWheel(const SDL_MouseWheelEvent& wheel, Message& out) const {
    const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0) return false;
    Point window{0, 0};
    WParam keys = MouseKeys(SDL_GetMouseState(&window.x, &window.y));
    if (SDL_GetModState() & KMOD_SHIFT) keys |= MK_SHIFT;
    const Point at = GamePoint(window.x, window.y);
    out.message = WM_MOUSEWHEEL;
    out.wParam = static_cast<WParam>(static_cast<std::uint16_t>(notches * WHEEL_DELTA)) << 16 | keys;
    out.lParam = MakePointParam(at.x, at.y);
    return true;
}

// The window's picture lives only in the X server, which does not keep it while the window
// is covered, unmapped or moved: each of those asks for it to be shown again. So does the
// focus coming back, as it does when a dialog in front of the window closes.
bool Window::Impl::TranslateWindowEvent(const SDL_WindowEvent& window, Message& out) {
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        controlDown = (SDL_GetModState() & KMOD_CTRL) != 0;
        altDown = (SDL_GetModState() & KMOD_ALT) != 0;
        out = Message{WM_PAINT, 0, 0};
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // As with keys, a button held while the window loses the focus stops repeating.
        pads.StopRepeating();
        return false;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        out = Message{WM_PAINT, 0, 0};
        return true;
    case SDL_WINDOWEVENT_CLOSE:
        out = Message{WM_CLOSE, 0, 0};
        return true;
    default:
        return false;
    }
}

bool Window::Impl::Translate(const SDL_Event& event, Message& out) {
    std::vector<PadButtonEvent> padEvents;
    if (pads.Handle(event, SDL_GetTicks64(), padEvents)) {
        QueuePadEvents(padEvents);
        return false;
    }
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return TranslateKey(event.key, out);
    case SDL_SYSWMEVENT:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (!TranslateMouse(event, out)) return false;
        // The game's window uses a left press and moves only to drag itself, which a fullscreen
        // window, or one off X, cannot be. A tool that follows the pointer takes them all.
        return (draggable && !fullscreen) || movesWithoutButtons ||
               (out.message != WM_LBUTTONDOWN && out.message != WM_MOUSEMOVE);
    case SDL_MOUSEWHEEL:
        return TranslateWheel(event.wheel, out);
    case SDL_WINDOWEVENT:
        return TranslateWindowEvent(event.window, out);
    case SDL_QUIT:
        out = Message{WM_CLOSE, 0, 0};
        return true;
    default:
        return false;
    }
}

std::unique_ptr<Window> Window::Create(WindowProc proc, const std::string& className,
                                       const std::string& title, int x, int y, int width, int height,
                                       const DisplayOptions& display) {
    std::setlocale(LC_ALL, "");
    // Without this SDL recreates the window under OpenGL to present, at several times the CPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    setenv("SDL_VIDEO_X11_WMCLASS", className.c_str(), 1);
    if (!StartVideo()) return nullptr;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        std::fprintf(stderr, "quonfel: no display to show the window on (SDL chose its \"%s\" driver); "
                     "run it in a desktop session or set DISPLAY\n", driver);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    StartGamepadSupport();
    const int scale = WindowScale(display, width, height);
    SDL_Window* sdl = SDL_CreateWindow(title.c_str(), x * scale, y * scale, width * scale, height * scale,
                                       (display.framed ? 0 : SDL_WINDOW_BORDERLESS) | SDL_WINDOW_SHOWN);
    if (!sdl) {
        std::fprintf(stderr, "quonfel: cannot create the window: %s\n", Printable(SDL_GetError()).c_str());
        return nullptr;
    }
    // The game reads keys, not text; keep any input method out of the way.
    SDL_StopTextInput();
    std::unique_ptr<Window> window(new Window());
    window->impl_ = std::make_unique<Impl>();
    window->impl_->sdl = sdl;
    window->impl_->origin = Point{x, y};
    window->impl_->width = width;
    window->impl_->height = height;
    window->impl_->scale = scale;
    window->impl_->controlDown = (SDL_GetModState() & KMOD_CTRL) != 0;
    window->impl_->pointerFromX11 = ReceiveX11PointerEvents();
    window->impl_->draggable = window->impl_->pointerFromX11;
    window->impl_->wait = OpenInputWait(sdl);
    RepeatTiming repeat;
    ReadX11KeyRepeat(sdl, repeat.delayMs, repeat.intervalMs);
    window->impl_->pads.SetRepeatTiming(repeat);
    window->proc_ = proc;
    currentWindow = window.get();
    if (display.fullscreen) window->SetFullscreen(true);
    return window;
}

std::unique_ptr<Window> WindowAccess::CreateHeadless(WindowProc proc, int width, int height) {
    if (!SDL_WasInit(SDL_INIT_EVENTS) && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return nullptr;
    StartGamepadSupport();
    std::unique_ptr<Window> window(new Window());
    window->impl_ = std::make_unique<Window::Impl>();
    window->impl_->width = width;
    window->impl_->height = height;
    window->proc_ = proc;
    currentWindow = window.get();
    return window;
}

Window::~Window() {
    if (impl_) CloseInputWait(impl_->wait);
    if (impl_ && impl_->sdl) SDL_DestroyWindow(impl_->sdl);
    if (currentWindow == this) currentWindow = nullptr;
}

SDL_Window* WindowAccess::Sdl(const Window& window) { return window.impl_->sdl; }

// Repeats of held pad buttons come after every event waiting, so a release already queued
// ends the repeating first.
bool Window::PeekMessage(Message& out) {
    if (impl_->quitPosted) {
        impl_->quitPosted = false;
        out = Message{WM_QUIT, static_cast<WParam>(impl_->quitCode), 0};
        return true;
    }
    if (destroyed_) return false;
    if (impl_->TakePending(out)) return true;
    ReadGamepads();
    SDL_Event event;
    // SDL ends a round of polling at a marker it queued itself (a wait leaves one behind);
    // events queued after the marker are still taken now.
    for (int round = 0; round < 2; ++round) {
        while (SDL_PollEvent(&event)) {
            if (impl_->Translate(event, out)) return true;
            if (impl_->TakePending(out)) return true;
        }
        if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) break;
    }
    std::vector<PadButtonEvent> repeats;
    impl_->pads.Repeats(SDL_GetTicks64(), repeats);
    impl_->QueuePadEvents(repeats);
    return impl_->TakePending(out);
}

// Pads are read only when the window takes its events (ReadGamepads), so the sleep ends in
// time for them, also where it would wait for input alone.
void Window::WaitForEvent(std::int64_t timeoutNs) {
    if (impl_->quitPosted || destroyed_) return;
    const std::int64_t padNs = impl_->pads.LongestSleepNs();
    WaitForInputOrTimeout(impl_->wait, timeoutNs < 0 ? padNs : std::min(timeoutNs, padNs));
}

void Window::PostQuitMessage(int exitCode) {
    impl_->quitPosted = true;
    impl_->quitCode = exitCode;
}

// The quit message belongs to no window, and a destroyed window gets nothing.
LParam Window::DispatchMessage(const Message& message) {
    if (message.message == WM_QUIT || destroyed_ || !proc_) return 0;
    return proc_(this, message.message, message.wParam, message.lParam);
}

LParam Window::DefWindowProc(std::uint32_t message, WParam wParam, LParam lParam) {
    if (message == WM_CLOSE) {
        Destroy();
    } else if (message == WM_SYSKEYDOWN && wParam == static_cast<WParam>(VK_F4) && (lParam & kAltDownBit)) {
        // Alt+F4 asks the window to close, as the system menu would.
        if (proc_ && !destroyed_) proc_(this, WM_CLOSE, 0, 0);
    } else if (message == WM_SYSKEYDOWN && wParam == static_cast<WParam>(VK_RETURN) && (lParam & kAltDownBit) &&
               !(lParam & kWasDownBit)) {
        // Alt+Enter, once per press: Enter held down does not flicker between the two.
        SetFullscreen(!IsFullscreen());
    }
    return 0;
}

void Window::Destroy() {
    if (destroyed_ || impl_->destroying) return;
    impl_->destroying = true;
    if (proc_) proc_(this, WM_DESTROY, 0, 0);
    if (impl_->sdl) SDL_DestroyWindow(impl_->sdl);
    impl_->sdl = nullptr;
    destroyed_ = true;
    if (currentWindow == this) currentWindow = nullptr;
}

int Window::Present(const Surface& screenSized) {
    if (!impl_->sdl || screenSized.IsLost()) return kErrSurfaceLost;
    SDL_Surface* target = SDL_GetWindowSurface(impl_->sdl);
    if (!target) return kErrSurfaceLost;
    const PicturePlacement at = impl_->Placement(target->w, target->h);
    ClearAround(target, at, impl_->width, impl_->height);
    if (!ShowScaled(screenSized.Sdl(), impl_->origin.x, impl_->origin.y, impl_->width, impl_->height, target, at))
        return kErrSurfaceLost;
    if (SDL_UpdateWindowSurface(impl_->sdl) != 0) return kErrSurfaceLost;
    return kCopyOk;
}

// With a window manager fullscreen is asked of it (it hides its panels and gives the old
// place back); without one the window covers the screen by itself.
void Window::SetFullscreen(bool on) {
    // A window without a display only notes the mode, which decides what input it reports.
    if (!impl_->sdl) impl_->fullscreen = on;
    if (!impl_->sdl || on == impl_->fullscreen) return;
    // Off X (Wayland) the compositor always does fullscreen, and a window cannot place itself.
    if (on) impl_->fullscreenByManager = !impl_->pointerFromX11 || X11WindowManagerRuns(impl_->sdl);
    SDL_Rect screen{};
    if (impl_->fullscreenByManager) {
        if (SDL_SetWindowFullscreen(impl_->sdl, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    } else if (on) {
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(impl_->sdl)), &screen) != 0) return;
        SDL_SetWindowPosition(impl_->sdl, screen.x, screen.y);
        SDL_SetWindowSize(impl_->sdl, screen.w, screen.h);
        SDL_RaiseWindow(impl_->sdl);
    } else {
        impl_->PlaceWindow();
    }
    impl_->fullscreen = on;
    // The picture is shown anew at its new size and place, also on a screen at rest.
    impl_->pending.push_back(Message{WM_PAINT, 0, 0});
}

bool Window::IsFullscreen() const { return impl_->fullscreen; }

// In fullscreen the place is only noted, for when the window comes back.
void Window::Move(int x, int y, int width, int height) {
    const bool resized = width != impl_->width || height != impl_->height;
    impl_->origin = Point{x, y};
    impl_->width = width;
    impl_->height = height;
    if (!impl_->sdl || impl_->fullscreen) return;
    if (resized) SDL_SetWindowSize(impl_->sdl, width * impl_->scale, height * impl_->scale);
    SDL_SetWindowPosition(impl_->sdl, x * impl_->scale, y * impl_->scale);
}

Point Window::Position() const { return impl_->GamePosition(); }

Point Window::ClientToScreen(Point client) const {
    const Point at = Position();
    return Point{at.x + client.x, at.y + client.y};
}

unsigned char Window::KeyState(int virtualKey) const {
    bool down = false;
    if (virtualKey == VK_CONTROL) {
        down = impl_->controlDown;
    } else if (virtualKey == VK_MENU) {
        down = impl_->altDown;
    } else {
        int count = 0;
        const Uint8* keys = SDL_GetKeyboardState(&count);
        for (int scancode = 0; scancode < count && !down; ++scancode) {
            const SDL_Keycode sym = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
            down = keys[scancode] && VirtualKeyOf(sym, scancode) == virtualKey;
        }
    }
    return down ? 0x80 : 0;
}

void Window::ReportMovesWithoutButtons(bool on) { impl_->movesWithoutButtons = on; }

// After a dialog process closes, X gives the focus to the root window; take it back.
void Window::TakeFocus() {
    if (!impl_->sdl) return;
    SDL_RaiseWindow(impl_->sdl);
    SDL_SetWindowInputFocus(impl_->sdl);
}

Window* Window::Current() { return currentWindow; }

int Window::CurrentScale() { return currentWindow ? currentWindow->impl_->scale : 1; }

int ScreenWidth() {
    SDL_DisplayMode mode{};
    if (!StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 640;
    return mode.w / Window::CurrentScale();
}

int ScreenHeight() {
    SDL_DisplayMode mode{};
    if (!StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 480;
    return mode.h / Window::CurrentScale();
}

// ---- The popup menu, drawn inside the window like a classic one ----

namespace {

constexpr Colorref kMenuFace = Rgb(192, 192, 192);
constexpr Colorref kMenuShadow = Rgb(128, 128, 128);
constexpr Colorref kMenuText = Rgb(0, 0, 0);
constexpr Colorref kMenuGreyText = Rgb(128, 128, 128);
constexpr Colorref kMenuHighlight = Rgb(0, 0, 128);
constexpr Colorref kMenuHighlightText = Rgb(255, 255, 255);
constexpr int kRowHeight = 20;
constexpr int kTextIndent = 20;
constexpr int kFrame = 2;  // the outline and the gap around the rows

struct PopupLayout {
    Rect box;          // the whole menu, in the game's pixels of the window
    int firstItemTop;  // top of item 0
};

PopupLayout LayOutPopup(const Font& font, const std::vector<PopupItem>& items, Point at, int windowWidth,
                        int windowHeight) {
    int textWidth = 0;
    for (const PopupItem& item : items) textWidth = std::max(textWidth, font.TextWidth(item.text));
    const int width = std::max(textWidth + 2 * kTextIndent, 80);
    const int height = kFrame + kRowHeight * static_cast<int>(items.size()) + kFrame;
    // Opens right of and below the point; where there is no room it opens left of or
    // above it, so the pointer never starts on an item.
    const int left = std::max(0, at.x + width <= windowWidth ? at.x : at.x - width);
    const int top = std::max(0, at.y + height <= windowHeight ? at.y : at.y - height);
    return PopupLayout{Rect{left, top, left + width, top + height}, top + kFrame};
}

// The item under a window point, -1 for none.
int ItemAt(const PopupLayout& layout, int count, int x, int y) {
    if (x < layout.box.left || x >= layout.box.right || y < layout.firstItemTop) return -1;
    const int row = (y - layout.firstItemTop) / kRowHeight;
    return row < count ? row : -1;
}

// The window as it was before the menu, with the menu (drawn at the game's scale) over it.
void ShowInWindow(SDL_Window* window, const Surface& before, const Surface* menu, Point at, int scale) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target || SDL_BlitSurface(before.Sdl(), nullptr, target, nullptr) != 0) return;
    if (menu) ShowScaled(menu->Sdl(), 0, 0, menu->Width(), menu->Height(), target, PicturePlacement{scale, at.x, at.y});
    SDL_UpdateWindowSurface(window);
}

// The menu on a surface of its own size.
void DrawPopup(Surface& menu, const std::vector<PopupItem>& items, int hover) {
    DrawContext dc(menu);
    const int width = menu.Width();
    dc.SelectPen(CreatePen(1, kMenuShadow));
    dc.SelectBrush(CreateSolidBrush(kMenuFace));
    dc.Rectangle(0, 0, width, menu.Height());
    dc.SelectFont(Font::Default());

    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const int top = kFrame + i * kRowHeight;
        const bool lit = i == hover;
        const Colorref face = lit ? kMenuHighlight : kMenuFace;
        menu.FillRect(Rect{kFrame, top, width - kFrame, top + kRowHeight}, face);
        dc.SetBkColor(face);
        dc.SetTextColor(items[i].greyed ? kMenuGreyText : lit ? kMenuHighlightText : kMenuText);
        dc.TextOut(kTextIndent, top + 2, items[i].text);
    }
}

}  // namespace

// The menu is laid out and drawn in game pixels and shown at the picture's scale; the
// pointer's window pixels are turned into game pixels to find the item under it.
int Window::TrackPopupMenu(const std::vector<PopupItem>& items, Point screen) {
    if (!impl_->sdl) return 0;
    SDL_Surface* target = SDL_GetWindowSurface(impl_->sdl);
    auto font = Font::Default();
    if (!target || !font) return 0;
    const Point window = Position();
    const PopupLayout layout =
        LayOutPopup(*font, items, Point{screen.x - window.x, screen.y - window.y}, impl_->width, impl_->height);
    auto saved = Surface::Create(target->w, target->h);
    auto menu = Surface::Create(layout.box.Width(), layout.box.Height());
    if (!saved || !menu) return 0;
    SDL_BlitSurface(target, nullptr, saved->Sdl(), nullptr);

    const PicturePlacement picture = impl_->Placement(target->w, target->h);
    const Point menuAt{picture.x + layout.box.left * picture.scale, picture.y + layout.box.top * picture.scale};
    const int count = static_cast<int>(items.size());
    const auto enabledAt = [&](int windowX, int windowY) {
        const Point at = impl_->GamePoint(windowX, windowY);
        const int i = ItemAt(layout, count, at.x, at.y);
        return i >= 0 && !items[i].greyed ? i : -1;
    };
    const auto insideMenu = [&](int windowX, int windowY) {
        const Point at = impl_->GamePoint(windowX, windowY);
        return layout.box.Contains(at.x, at.y);
    };
    const auto show = [&](int hover) {
        DrawPopup(*menu, items, hover);
        ShowInWindow(impl_->sdl, *saved, menu.get(), menuAt, picture.scale);
    };

    int hover = -1;
    int chosen = 0;
    bool open = true;
    // The release of the click that opened the menu chooses nothing unless the pointer
    // moved first.
    bool armed = false;
    // The click that opened the menu also waits in SDL's queue as SDL's own button event;
    // near the window's right or bottom edge the menu opens left of or above it, so that
    // copy would count as a click outside and close the menu at once. It is passed over
    // (emptying the queue instead would drop what came after the click too).
    bool openingClickPassed = !impl_->pointerFromX11;
    show(hover);
    SDL_Event event;
    while (open) {
        // Pads are read here too, so that a button pressed while the menu is open is spent on
        // it, as a key is, instead of reaching the game once the menu has closed.
        ReadGamepads();
        if (!SDL_WaitEventTimeout(&event, kMenuPadReadMilliseconds)) continue;
        int newHover = hover;
        switch (event.type) {
        case SDL_MOUSEMOTION:
            armed = true;
            newHover = enabledAt(event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (!openingClickPassed && event.button.button == SDL_BUTTON_RIGHT) {
                openingClickPassed = true;
                break;
            }
            armed = true;
            if (!insideMenu(event.button.x, event.button.y)) open = false;
            break;
        case SDL_MOUSEBUTTONUP: {
            const int i = enabledAt(event.button.x, event.button.y);
            if (armed && i >= 0) {
                chosen = items[i].command;
                open = false;
            }
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Message unused;
            impl_->TranslateKey(event.key, unused);  // keeps Ctrl and Alt up to date
            // Esc leaves the menu; so does Alt, as it leaves menu mode.
            const SDL_Keycode sym = event.key.keysym.sym;
            if (event.type == SDL_KEYDOWN && (sym == SDLK_ESCAPE || sym == SDLK_LALT || sym == SDLK_RALT))
                open = false;
            break;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                SDL_PushEvent(&event);  // the game still has to see it
                open = false;
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                show(hover);
            }
            break;
        case SDL_QUIT:
            SDL_PushEvent(&event);
            open = false;
            break;
        default: {
            // Pad buttons choose nothing in the menu, but their state is kept.
            std::vector<PadButtonEvent> unused;
            impl_->pads.Handle(event, SDL_GetTicks64(), unused);
            break;
        }
        }
        if (open && newHover != hover) {
            hover = newHover;
            show(hover);
        }
    }
    // A button held through the menu was never reported down: it must not repeat.
    impl_->pads.StopRepeating();
    // Take the menu away at once; the next frame redraws the window anyway.
    ShowInWindow(impl_->sdl, *saved, nullptr, menuAt, picture.scale);
    return chosen;
}
