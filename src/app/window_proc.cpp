// The window procedure: messages, closing, the popup menu and window dragging.
#include <vector>

#include "app/app.h"
#include "app/keys.h"
#include "platform/window.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/texts.h"

int Dragging = 0;
Point DragLastPoint{0, 0};

namespace {
// A headless window stands at WindowOrigin.
Point ClientToScreen(Window* window, Point client) {
    if (window) return window->ClientToScreen(client);
    return {client.x + WindowOrigin.x, client.y + WindowOrigin.y};
}

// First not beyond the screen's far edge, then not before its near edge.
int ClampToScreen(int position, int largest) {
    if (position > largest) position = largest;
    if (position < 0) position = 0;
    return position;
}

// The window keeps seeing the mouse while a button is held, also left of or above itself,
// so positions are signed 16-bit values; inside the window they are the same either way.
Point MousePoint(LParam lParam) {
    return {static_cast<std::int16_t>(lParam & 0xFFFF), static_cast<std::int16_t>((lParam >> 16) & 0xFFFF)};
}

bool ControlHeld(const Window* window) {
    return window != nullptr && (window->KeyState(VK_CONTROL) & 0x80) != 0;
}
}  // namespace

void QuitGame(Window* window) {
    if (window) {
        window->Destroy();  // its WM_DESTROY does the shutdown
    } else {
        MainWindowProc(nullptr, WM_DESTROY, 0, 0);
    }
}

void BeginWindowDrag(Window* window, int x, int y) {
    DragLastPoint = ClientToScreen(window, {x, y});
    Dragging = 1;
}

void DragWindow(Window* window, int x, int y) {
    const Point p = ClientToScreen(window, {x, y});
    Point origin = WindowOrigin;
    origin.x += p.x - DragLastPoint.x;
    origin.y += p.y - DragLastPoint.y;
    origin.y = ClampToScreen(origin.y, ScreenHeight() - WindowSize.height);
    origin.x = ClampToScreen(origin.x, ScreenWidth() - WindowSize.width);
    WindowOrigin = origin;
    if (window) window->Move(origin.x, origin.y, WindowSize.width, WindowSize.height);
    DragLastPoint = p;
}

int ShowGameMenu(Window* window, int x, int y) {
    if (!window) return 0;
    const std::vector<PopupItem> items = {
        {Texts().popupStart, IDM_GAME_START, true},
        {Texts().popupQuit, IDM_GAME_EXIT, false},
    };
    const int command = window->TrackPopupMenu(items, ClientToScreen(window, {x, y}));
    if (command != 0) {
        Message chosen;
        chosen.message = WM_COMMAND;
        chosen.wParam = static_cast<WParam>(command);
        window->DispatchMessage(chosen);
    }
    return 1;
}

LParam MainWindowProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_DESTROY:
        ReleaseAll();
        if (window) window->PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        HandleKeyDown(window, static_cast<int>(wParam));
        return 0;
    case WM_KEYUP:
        return 0;
    case WM_ACTIVATE:
        if (wParam == WA_INACTIVE && GameSettings.pauseOnFocusLoss && !Watching()) PauseDriving();
        break;
    case WM_PADBUTTONDOWN:
    case WM_PADBUTTONUP:
        HandlePadButton(window, message, wParam, lParam);
        return 0;
    case WM_COMMAND:
        if ((wParam & 0xFFFF) != IDM_GAME_EXIT) break;
        QuitGame(window);
        return 0;
    case WM_MOUSEMOVE:
        if (Dragging == 1) DragWindow(window, MousePoint(lParam).x, MousePoint(lParam).y);
        return 0;
    case WM_LBUTTONDOWN:
        if (ControlHeld(window)) BeginWindowDrag(window, MousePoint(lParam).x, MousePoint(lParam).y);
        return 0;
    case WM_LBUTTONUP:
        Dragging = 0;
        return 0;
    case WM_RBUTTONDOWN:
        ShowGameMenu(window, MousePoint(lParam).x, MousePoint(lParam).y);
        return 0;
    default:
        break;
    }
    return window ? window->DefWindowProc(message, wParam, lParam) : 0;
}
