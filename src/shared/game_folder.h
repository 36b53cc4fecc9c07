// The game folder: where the game's own files are opened by their relative names, the courses
// ("3.map"), the pictures (and en/), score.dat, the best drives and the error logs. The game
// leaves it unset, so that it opens each name exactly as it stands, from the current
// directory; the map tool sets it to drive a course in its own folder without changing the
// process's directory. Paths a player names (--map, --watch, a chosen user map) are not in it.
#pragma once
#include <string>

// Empty: the current directory.
void SetGameFolder(const std::string& folder);
// The name as the game opens it: unchanged while no folder is set, else inside the folder.
std::string InGameFolder(const std::string& name);
