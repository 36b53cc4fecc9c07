// SDL's keys as the virtual-key codes of the game's window procedure.
#include "platform/window.h"

#include <SDL.h>

#include "platform/messages.h"

namespace {

struct KeyCode {
    int sdl;
    int virtualKey;
};

// By keysym. Home to Clear are the keypad with NumLock off, should a keysym come without
// its keypad scancode.
constexpr KeyCode kSymbolKeys[] = {
    {SDLK_KP_0, VK_NUMPAD0}, {SDLK_HOME, 36}, {SDLK_END, 35}, {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_INSERT, 45}, {SDLK_DELETE, VK_DELETE}, {SDLK_CLEAR, 12},
    {SDLK_RETURN, VK_RETURN}, {SDLK_RETURN2, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_MINUS, VK_OEM_MINUS}, {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_PLUS, VK_OEM_PLUS}, {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_KP_PLUS, VK_ADD},
    {SDLK_SPACE, VK_SPACE}, {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},
    {SDLK_LEFT, VK_LEFT}, {SDLK_UP, VK_UP}, {SDLK_RIGHT, VK_RIGHT}, {SDLK_DOWN, VK_DOWN},
    {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL}, {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT}, {SDLK_LALT, VK_MENU}, {SDLK_RALT, VK_MENU}, {SDLK_PAUSE, VK_PAUSE},
    // Keys that only the player's own bindings use.
    {SDLK_SEMICOLON, VK_OEM_1}, {SDLK_COMMA, VK_OEM_COMMA}, {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2}, {SDLK_BACKQUOTE, VK_OEM_3}, {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5}, {SDLK_RIGHTBRACKET, VK_OEM_6}, {SDLK_QUOTE, VK_OEM_7},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_DIVIDE, VK_DIVIDE}, {SDLK_KP_PERIOD, VK_DECIMAL},
};

// The keypad keeps its digits whatever NumLock says, so it is known by its scancode.
int KeypadKey(int scancode) {
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    if (scancode == SDL_SCANCODE_KP_0) return VK_NUMPAD0;
    return scancode == SDL_SCANCODE_KP_ENTER ? VK_RETURN : 0;
}

int SymbolKey(int sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (sym - SDLK_KP_1);
    for (const KeyCode& key : kSymbolKeys) {
        if (key.sdl == sym) return key.virtualKey;
    }
    return 0;
}

}  // namespace

int VirtualKeyOf(int sdlKeycode, int sdlScancode) {
    const int keypad = KeypadKey(sdlScancode);
    return keypad != 0 ? keypad : SymbolKey(sdlKeycode);
}

int VirtualKeyNamed(const std::string& name, std::string& sdlName) {
    const SDL_Keycode keycode = SDL_GetKeyFromName(name.c_str());
    if (keycode == SDLK_UNKNOWN) return kUnknownKeyName;
    sdlName = SDL_GetKeyName(keycode);
    return SymbolKey(keycode);
}
