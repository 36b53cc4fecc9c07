// The keyboard side of the window procedure: what each key does on each screen, and which
// key each gamepad button stands for.
#pragma once
#include <cstdint>

#include "platform/messages.h"

class Window;

// What the player can ask of the game, by name: the menu keys, the pad, --map and a watch all
// come to these, so that each does exactly what the others do.
//
// Course menu: the course is chosen. A locked one says so; the user map (course 11) asks for
// its file unless --map gave one; a completed course, or any once the bus menu has shown,
// leads to the bus menu, anything else straight into the drive.
void ChooseCourse(int course);
// The user-made course on the file already given (--map, the shelf): its lock and its file
// dialog are passed over; the bus menu comes when it is cleared, or once the bus menu showed.
void ChooseUserCourse(bool cleared);
// Into a drive of the course under the cursor with this bus type.
void StartDriving(std::int32_t busType);
// Back to the course menu from a drive or the result screen; nothing is recorded.
void ReturnToCourseMenu();
// Destroys the window, whose WM_DESTROY shuts the game down (headless: the shutdown itself).
void QuitGame(Window* window);
// While driving: the bus, the stopwatch and the penalty clock stand still and the picture
// stays, labelled, until ResumeDriving; no frame is composed meanwhile unless the window
// needs its picture again. Paused frames are neither counted nor recorded, so a recorded
// drive with pauses is the same drive without them.
void PauseDriving();
void ResumeDriving();
bool DrivingPaused();
// The paused picture onto offscreen at the window's place.
void DrawPausedPicture();
// P and Pause.
bool IsPauseKey(int key);

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
