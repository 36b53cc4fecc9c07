// The keyboard side of the window procedure: what each key does on each screen, and which
// key each gamepad button stands for.
#pragma once
#include <cstdint>

#include "platform/messages.h"

class Window;

// One WM_KEYDOWN (auto-repeats included) with its virtual-key code.
void HandleKeyDown(Window* window, int key);
// The key a pad button (PadButton) stands for on a screen (ScreenState); 0 for none.
int PadButtonKey(std::int32_t screen, int button);
// WM_PADBUTTONDOWN and WM_PADBUTTONUP. A press acts as its key on the screen shown; a held
// button is a held key, so its repeats are that same key even when the screen changed.
void HandlePadButton(Window* window, std::uint32_t message, WParam button, LParam lParam);
// The volume keys (- and =, or the keypad's - and +): true for them, which do nothing else;
// with sound on they change the volume by a tenth and show it for a moment.
bool TakeVolumeKey(int key);
