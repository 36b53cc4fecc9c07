// The keyboard side of the window procedure: what each key does on each screen.
#pragma once

class Window;

// One WM_KEYDOWN (auto-repeats included) with its virtual-key code.
void HandleKeyDown(Window* window, int key);
// Destroys the window, whose WM_DESTROY shuts the game down (headless: the shutdown itself).
void CloseMainWindow(Window* window);
