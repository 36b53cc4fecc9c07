// quonfel --challenge FILE: the course of a challenge file goes on the shelf (courses/ in the
// game folder) and is played at once as --map plays a course, racing the file's drive as its
// ghost. The drive stays the challenger's: the player's own best drive is kept as ever.
#pragma once
#include <string>

// Before the window: reads and checks the file, puts its course on the shelf and prepares the
// map and the ghost. False after one line on stderr naming the problem; then nothing is written.
bool PrepareChallengeToPlay(const std::string& path);
