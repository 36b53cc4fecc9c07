// What the player can ask of the game, by name: the menu keys, the pad, --map and a watch all
// come here, so that each does exactly what the others do.
#pragma once
#include <cstdint>

class Window;

// Course menu: the course under the cursor is chosen. A locked one says so; the user map
// (course 11) asks for its file unless --map gave one; a completed course, or any once the bus
// menu has shown, leads to the bus menu, anything else straight into the drive.
void ChooseCourse(int course);
// Into a drive of the course under the cursor with this bus type.
void StartDriving(std::int32_t busType);
// Back to the course menu from a drive or the result screen; nothing is recorded.
void ReturnToCourseMenu();
// Destroys the window, whose WM_DESTROY shuts the game down (headless: the shutdown itself).
void QuitGame(Window* window);
