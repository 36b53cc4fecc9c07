// Helpers for the tests that feed the window: its message pump, and gamepads that exist
// only inside SDL (its virtual joysticks).
#pragma once
#include <cstdint>
#include <vector>

#include "platform/messages.h"

class Window;
struct _SDL_Joystick;

// Takes every message now waiting and dispatches it, as the game's loop does, up to and
// including WM_QUIT; returns them in order.
std::vector<Message> PumpMessages(Window& window);

// Queues a key event as SDL would deliver it (SDL_KEYDOWN or SDL_KEYUP, SDL's key codes).
void PushKey(std::uint32_t type, int sym, int scancode, bool repeat = false);

// A gamepad plugged in while the object lives, with its triggers at rest. The window sees
// it once it pumps its events.
class VirtualPad {
public:
    VirtualPad();
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Attached() const { return joystick_ != nullptr; }
    // SDL's game controller numbering for buttons and axes.
    void Press(int button);
    void Release(int button);
    void MoveAxis(int axis, int value);

private:
    _SDL_Joystick* joystick_ = nullptr;
};
