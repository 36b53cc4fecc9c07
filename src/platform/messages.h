// The message and key vocabulary of the game's window procedure.
#pragma once
#include <cstdint>

constexpr std::uint32_t WM_DESTROY = 2;
constexpr std::uint32_t WM_ACTIVATE = 6;  // wParam: WA_ACTIVE as the window gains the focus, WA_INACTIVE as it loses it
constexpr std::uint32_t WA_INACTIVE = 0;
constexpr std::uint32_t WA_ACTIVE = 1;
constexpr std::uint32_t WM_PAINT = 15;  // the window's picture must be shown again
constexpr std::uint32_t WM_CLOSE = 16;
constexpr std::uint32_t WM_QUIT = 18;
constexpr std::uint32_t WM_KEYDOWN = 256;
constexpr std::uint32_t WM_KEYUP = 257;
constexpr std::uint32_t WM_SYSKEYDOWN = 260;
constexpr std::uint32_t WM_SYSKEYUP = 261;
constexpr std::uint32_t WM_COMMAND = 273;
constexpr std::uint32_t WM_MOUSEMOVE = 512;
constexpr std::uint32_t WM_LBUTTONDOWN = 513;
constexpr std::uint32_t WM_LBUTTONUP = 514;
constexpr std::uint32_t WM_RBUTTONDOWN = 516;
// The wheel: wParam's high 16 bits hold the signed turn, 120 a notch away from the user, its
// low bits the mouse keys (MK_*); lParam the pointer's point in the window, as for the others.
constexpr std::uint32_t WM_MOUSEWHEEL = 522;
constexpr int WHEEL_DELTA = 120;
// Gamepad buttons, the game's own messages (from WM_APP on): wParam is the PadButton; lParam
// holds the pad's number in its low 16 bits and, as for keys, bit 30 when the button was
// already down (an auto-repeat) and bit 31 when it is released.
constexpr std::uint32_t WM_PADBUTTONDOWN = 0x8001;
constexpr std::uint32_t WM_PADBUTTONUP = 0x8002;

// A gamepad's buttons in the common layout (A at the bottom, B right, X left, Y on top). The
// triggers count as buttons, pressed past half their travel; the left stick reports the
// four D-pad directions.
enum PadButton {
    PadA, PadB, PadX, PadY, PadBack, PadGuide, PadStart, PadLeftStick, PadRightStick,
    PadLeftShoulder, PadRightShoulder, PadUp, PadDown, PadLeft, PadRight,
    PadLeftTrigger, PadRightTrigger,
    PadButtonCount
};

// Virtual-key codes.
constexpr int VK_BACK = 8;  // Backspace
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;
constexpr int VK_MENU = 18;  // Alt
constexpr int VK_PAUSE = 19;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_PRIOR = 33;  // Page Up
constexpr int VK_NEXT = 34;   // Page Down
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_DELETE = 46;
constexpr int VK_NUMPAD0 = 96;   // VK_NUMPAD0 + n for keypad digit n
constexpr int VK_F1 = 112;       // VK_F1 + n - 1 for Fn
constexpr int VK_F2 = 113;
constexpr int VK_F4 = 115;
constexpr int VK_F8 = 119;
constexpr int VK_F9 = 120;
constexpr int VK_F10 = 121;
constexpr int VK_F11 = 122;
constexpr int VK_MULTIPLY = 106;   // the keypad's *
constexpr int VK_ADD = 107;        // the keypad's +
constexpr int VK_SUBTRACT = 109;   // the keypad's -
constexpr int VK_DECIMAL = 110;    // the keypad's .
constexpr int VK_DIVIDE = 111;     // the keypad's /
constexpr int VK_OEM_1 = 186;      // ; (the keys of a US layout)
constexpr int VK_OEM_PLUS = 187;   // the = (or +) key of the main keyboard
constexpr int VK_OEM_COMMA = 188;
constexpr int VK_OEM_MINUS = 189;  // its - key
constexpr int VK_OEM_PERIOD = 190;
constexpr int VK_OEM_2 = 191;      // /
constexpr int VK_OEM_3 = 192;      // `
constexpr int VK_OEM_4 = 219;      // [
constexpr int VK_OEM_5 = 220;      // backslash
constexpr int VK_OEM_6 = 221;      // ]
constexpr int VK_OEM_7 = 222;      // '
// Letters use their capital ASCII code, 'A' (65) to 'Z' (90).

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

struct Message {
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Mouse keys held, in the wParam of the mouse messages.
constexpr WParam MK_LBUTTON = 0x1;
constexpr WParam MK_RBUTTON = 0x2;
constexpr WParam MK_SHIFT = 0x4;
constexpr WParam MK_CONTROL = 0x8;

// Mouse positions travel in lParam as x | y << 16.
constexpr LParam MakePointParam(int x, int y) {
    return static_cast<LParam>((static_cast<std::uint32_t>(x) & 0xFFFF) |
                               ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16));
}
constexpr int PointParamX(LParam l) { return static_cast<int>(l & 0xFFFF); }
constexpr int PointParamY(LParam l) { return static_cast<int>((l >> 16) & 0xFFFF); }

// The popup menu's commands.
constexpr int IDM_GAME_START = 40001;
constexpr int IDM_GAME_EXIT = 40002;
