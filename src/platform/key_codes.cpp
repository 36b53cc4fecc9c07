// SDL's keys as the virtual-key codes of the game's window procedure.
#include "platform/key_codes.h"

#include <SDL.h>

#include "platform/messages.h"

namespace {

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
