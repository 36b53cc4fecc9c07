// A recorded drive: the keys pressed before each frame, kept as "frame key" text lines.
#pragma once
#include <string>
#include <vector>

struct KeyPress {
    long frame;  // counted from the first driving frame, which places the bus
    int key;     // virtual-key code
};

// "W", "Up", "Num5", "Enter", "F8": the name a recorded drive uses for a key; empty for a key
// without one.
std::string KeyName(int key);
// The key of a name, or 0.
int KeyFromName(const std::string& name);

// The text of a recorded drive: the comment lines (each given without its "# "), then one
// "frame key" line per press in order.
std::string FormatDrive(const std::vector<std::string>& comments, const std::vector<KeyPress>& presses);
// Reads a recorded drive; false with a message naming the line when one cannot be read or the
// frames go backwards.
bool ParseDrive(const std::string& text, std::vector<KeyPress>& presses, std::string& error);
