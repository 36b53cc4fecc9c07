// F1: every key of the screen shown, in the game's language, over the picture until F1 or Esc.
// While the list shows the game waits: a drive is paused as by P (the stopwatch and the penalty
// clock stand still), and no frame moves the bus, the ghost or a watched drive.
#pragma once
#include <string>
#include <vector>

class Surface;

struct KeyHelpLine {
    std::string keys;
    std::string action;
};

// A key pressed by the player: F1 opens the list; while it shows, F1 and Esc close it and
// every other key is swallowed. True when the key was the list's.
bool TakeKeyHelpKey(int key);
bool KeyHelpShown();
// The title and the lines of the list now shown (or of the screen shown, when none is).
std::string KeyHelpTitle();
std::vector<KeyHelpLine> KeyHelpLines();
// Draws the list over the frame already on the surface (at WindowOrigin).
void DrawKeyHelp(Surface& surface);
