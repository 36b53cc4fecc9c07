#include "support/window_support.h"

#include <SDL.h>

#include "platform/window.h"

std::vector<Message> PumpMessages(Window& window) {
    std::vector<Message> out;
    Message m;
    while (window.PeekMessage(m)) {
        out.push_back(m);
        window.DispatchMessage(m);
        if (m.message == WM_QUIT) break;
    }
    return out;
}

namespace {
// A device's index changes as others come and go; its instance number does not.
int DeviceIndexOf(SDL_JoystickID instance) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) return i;
    }
    return -1;
}
}  // namespace

VirtualPad::VirtualPad() {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    pad.name = "Quonfel test pad";
    const int index = SDL_JoystickAttachVirtualEx(&pad);
    if (index < 0) return;
    joystick_ = SDL_JoystickOpen(index);
    MoveAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    MoveAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
}

VirtualPad::~VirtualPad() {
    if (!joystick_) return;
    const int index = DeviceIndexOf(SDL_JoystickInstanceID(joystick_));
    SDL_JoystickClose(joystick_);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
}

void VirtualPad::Press(int button) { SDL_JoystickSetVirtualButton(joystick_, button, SDL_PRESSED); }
void VirtualPad::Release(int button) { SDL_JoystickSetVirtualButton(joystick_, button, SDL_RELEASED); }
void VirtualPad::MoveAxis(int axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
}

void PushKey(std::uint32_t type, int sym, int scancode, bool repeat) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
    SDL_PushEvent(&e);
}
