// The keyboard side of the window procedure: what each key does on each screen.
#pragma once

class Window;

// One WM_KEYDOWN (auto-repeats included) with its virtual-key code.
void HandleKeyDown(Window* window, int key);
// From the menus into a drive of the course under the cursor, with the bus type chosen.
void StartDriving();
// Back to the course menu from a drive or the result screen; nothing is recorded.
void ReturnToCourseMenu();
// Destroys the window, whose WM_DESTROY shuts the game down (headless: the shutdown itself).
void CloseMainWindow(Window* window);
