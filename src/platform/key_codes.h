// The game's virtual-key codes for SDL's keys.
#pragma once

// The virtual-key code of an SDL key (its keycode and scancode); 0 for keys the game
// has no code for. Keypad digits keep their codes whether NumLock is on or off.
int VirtualKeyOf(int sdlKeycode, int sdlScancode);
