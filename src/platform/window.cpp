// The game's window on SDL2: made, placed, made fullscreen, and shown the frame composed on a
// screen-sized surface (Present). Its events and its popup menu have files of their own.
#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/display_loss.h"
#include "platform/printable.h"
#include "platform/process.h"
#include "platform/window_impl.h"
#include "platform/x11_desktop.h"
#include "platform/x11_pointer.h"

namespace {

Window* currentWindow = nullptr;

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

}  // namespace

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

// In screen pixels.
Point Window::Impl::ScreenPosition() const {
    if (!sdl) return origin;
    Point at{0, 0};
    SDL_GetWindowPosition(sdl, &at.x, &at.y);
    return at;
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

// SDL's picture of the window. A resized window gets a new one and SDL frees the old one
// here, so the surface composing in the old pixels takes its part back first; a
// replacement that was not seen coming leaves it nothing to take back.
SDL_Surface* Window::Impl::WindowPixels() {
    if (lentPixels) {
        int w = 0, h = 0;
        SDL_GetWindowSize(sdl, &w, &h);
        if (w != lentPixels->w || h != lentPixels->h) TakeBackLentPixels();
    }
    SDL_Surface* pixels = SDL_GetWindowSurface(sdl);
    if (lentPixels && pixels != lentPixels) {
        Surface::ReturnBorrowedPixels(lentPixels, false);
        lentPixels = nullptr;
    }
    return pixels;
}

void Window::Impl::TakeBackLentPixels() {
    if (lentPixels) Surface::ReturnBorrowedPixels(lentPixels, true);
    lentPixels = nullptr;
}

// SDL forgets the window's pixels as soon as its size changes, even when it changes back
// before the next present, and frees them at the next look: the frame composed in them is
// taken back while they are still there.
int Window::Impl::TakeBackLentPixelsOnResize(void* impl, SDL_Event* event) {
    auto& self = *static_cast<Impl*>(impl);
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED && self.sdl &&
        event->window.windowID == SDL_GetWindowID(self.sdl))
        self.TakeBackLentPixels();
    return 1;
}

// At scale 1 in a window the window's pixels are the surface's part: nothing to copy.
bool Window::Impl::ComposesInWindow(Surface& screenSized, SDL_Surface* target) {
    if (fullscreen || scale != 1 || target->w != width || target->h != height) return false;
    if (lentPixels == target && screenSized.KeepsPartIn(target, origin)) return true;
    TakeBackLentPixels();
    if (!screenSized.KeepPartIn(target, origin)) return false;
    lentPixels = target;
    return true;
}

// The window as the game placed it, each game pixel scale by scale.
void Window::Impl::PlaceWindow() {
    SDL_SetWindowSize(sdl, width * scale, height * scale);
    SDL_SetWindowPosition(sdl, origin.x * scale, origin.y * scale);
}

// What the game's window and a test's without a display both have; the newest is current.
Window::Window(WindowProc proc, int width, int height) : impl_(std::make_unique<Impl>()), proc_(proc) {
    impl_->width = width;
    impl_->height = height;
    currentWindow = this;
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
    std::unique_ptr<Window> window(new Window(proc, width, height));
    Impl& impl = *window->impl_;
    impl.sdl = sdl;
    impl.origin = Point{x, y};
    impl.scale = scale;
    impl.controlDown = (SDL_GetModState() & KMOD_CTRL) != 0;
    impl.pointerFromX11 = ReceiveX11PointerEvents();
    impl.draggable = impl.pointerFromX11;
    impl.wait = OpenInputWait(sdl);
    SDL_AddEventWatch(Impl::TakeBackLentPixelsOnResize, &impl);
    RepeatTiming repeat;
    ReadX11KeyRepeat(sdl, repeat.delayMs, repeat.intervalMs);
    impl.pads.SetRepeatTiming(repeat);
    if (display.fullscreen) window->SetFullscreen(true);
    return window;
}

std::unique_ptr<Window> WindowAccess::CreateHeadless(WindowProc proc, int width, int height) {
    if (!SDL_WasInit(SDL_INIT_EVENTS) && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return nullptr;
    StartGamepadSupport();
    return std::unique_ptr<Window>(new Window(proc, width, height));
}

Window::~Window() {
    if (impl_) SDL_DelEventWatch(Impl::TakeBackLentPixelsOnResize, impl_.get());
    if (impl_) impl_->TakeBackLentPixels();
    if (impl_) CloseInputWait(impl_->wait);
    if (impl_ && impl_->sdl) SDL_DestroyWindow(impl_->sdl);
    if (currentWindow == this) currentWindow = nullptr;
}

SDL_Window* WindowAccess::Sdl(const Window& window) { return window.impl_->sdl; }

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
    SDL_DelEventWatch(Impl::TakeBackLentPixelsOnResize, impl_.get());
    impl_->TakeBackLentPixels();
    if (proc_) proc_(this, WM_DESTROY, 0, 0);
    if (impl_->sdl) SDL_DestroyWindow(impl_->sdl);
    impl_->sdl = nullptr;
    destroyed_ = true;
    if (currentWindow == this) currentWindow = nullptr;
}

void Window::SetIcon(const std::uint32_t* argbPixels, int side) {
    if (!impl_->sdl || !argbPixels || side <= 0) return;
    // SDL copies the pixels into the window's property; the surface only lends them.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(argbPixels), side, side, 32,
                                                           side * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(impl_->sdl, icon);
    SDL_FreeSurface(icon);
}

int Window::Present(Surface& screenSized) {
    if (!impl_->sdl || screenSized.IsLost()) return kErrSurfaceLost;
    SDL_Surface* target = impl_->WindowPixels();
    if (!target) return kErrSurfaceLost;
    if (!impl_->ComposesInWindow(screenSized, target)) {
        impl_->TakeBackLentPixels();
        const PicturePlacement at = impl_->Placement(target->w, target->h);
        ClearAround(target, at, impl_->width, impl_->height);
        if (!ShowScaled(screenSized.Sdl(), impl_->origin.x, impl_->origin.y, impl_->width, impl_->height, target, at))
            return kErrSurfaceLost;
    }
    if (SDL_UpdateWindowSurface(impl_->sdl) != 0) return kErrSurfaceLost;
    return kCopyOk;
}

// With a window manager fullscreen is asked of it (it hides its panels and gives the old
// place back); without one the window covers the screen by itself.
void Window::SetFullscreen(bool on) {
    // A window without a display only notes the mode, which decides what input it reports.
    if (!impl_->sdl) impl_->fullscreen = on;
    if (!impl_->sdl || on == impl_->fullscreen) return;
    impl_->TakeBackLentPixels();
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
    // The frames after the move are drawn at the new place, not in the window's pixels.
    impl_->TakeBackLentPixels();
    impl_->origin = Point{x, y};
    impl_->width = width;
    impl_->height = height;
    if (!impl_->sdl || impl_->fullscreen) return;
    if (resized) SDL_SetWindowSize(impl_->sdl, width * impl_->scale, height * impl_->scale);
    SDL_SetWindowPosition(impl_->sdl, x * impl_->scale, y * impl_->scale);
}

// In game pixels; a fullscreen window stands for the window the game placed.
Point Window::Position() const {
    if (!impl_->sdl || impl_->fullscreen) return impl_->origin;
    const Point at = impl_->ScreenPosition();
    return Point{FloorDivide(at.x, impl_->scale), FloorDivide(at.y, impl_->scale)};
}

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

void Window::SetKeysStandingFor(std::map<int, int> keys) { impl_->keysStandingFor = std::move(keys); }

// After a dialog process closes, X gives the focus to the root window; take it back.
void Window::TakeFocus() {
    if (!impl_->sdl) return;
    SDL_RaiseWindow(impl_->sdl);
    SDL_SetWindowInputFocus(impl_->sdl);
}

void Window::SetTitle(const std::string& title) {
    if (impl_->sdl) SDL_SetWindowTitle(impl_->sdl, title.c_str());
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
