// SDL's events as the messages of the game's window procedure: keys, the pointer, the
// window's own events and the pads.
#include <SDL.h>

#include <algorithm>

#include "platform/window_impl.h"
#include "platform/x11_pointer.h"

// A mouse message at a point of the game's picture.
static Message PointerMessage(std::uint32_t message, WParam keys, Point at) {
    return Message{message, keys, MakePointParam(at.x, at.y)};
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
    int vk = VirtualKeyOf(key.keysym.sym, key.keysym.scancode);
    const auto standing = keysStandingFor.find(vk);
    if (standing != keysStandingFor.end()) vk = standing->second;
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
    if (button == SDL_BUTTON_LEFT) out = PointerMessage(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, keys, at);
    else if (button == SDL_BUTTON_RIGHT && down) out = PointerMessage(WM_RBUTTONDOWN, keys, at);
    else return false;
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
    out = PointerMessage(WM_MOUSEMOVE, keys, at);
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
        out = PointerMessage(WM_MOUSEMOVE, MouseKeys(event.motion.state), GamePoint(event.motion.x, event.motion.y));
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
    const WParam turn = static_cast<WParam>(static_cast<std::uint16_t>(notches * WHEEL_DELTA)) << 16;
    out = PointerMessage(WM_MOUSEWHEEL, turn | keys, GamePoint(window.x, window.y));
    return true;
}

// The window's picture lives only in the X server, which does not keep it while the window
// is covered, unmapped or moved: each of those asks for it to be shown again. So does the
// focus coming back, as it does when a dialog in front of the window closes.
bool Window::Impl::TranslateWindowEvent(const SDL_WindowEvent& window, Message& out) {
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // As with keys, a button held while the window loses the focus stops repeating.
        pads.StopRepeating();
        out = Message{WM_KILLFOCUS, 0, 0};
        return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        controlDown = (SDL_GetModState() & KMOD_CTRL) != 0;
        altDown = (SDL_GetModState() & KMOD_ALT) != 0;
        pending.push_back(Message{WM_SETFOCUS, 0, 0});
        [[fallthrough]];
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

// SDL's pump reads the display and does SDL's own chores, a dozen system calls. After a
// wait that its timer alone ended, the display has nothing new: only SDL's queue is read then,
// but the pump still runs five times a second for those chores (the screen saver kept off, a
// focus change SDL holds back for 200 ms after a change of display mode).
bool Window::Impl::NextEvent(SDL_Event& event) {
    constexpr std::uint64_t kLongestUnpumpedMs = 200;
    const std::uint64_t now = SDL_GetTicks64();
    const bool quiet = wait.endedByTimerAlone && now - lastPumpTicks < kLongestUnpumpedMs;
    wait.endedByTimerAlone = false;
    if (quiet) return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
    lastPumpTicks = now;
    return SDL_PollEvent(&event);
}

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
        while (impl_->NextEvent(event)) {
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
