// quonfel --map FILE: a map file or a course text played as the user-made course (course 11),
// begun at once as choosing that row would, and chosen again from the course menu without
// its lock, its file dialog or an 11.map in the folder taking its place.
#pragma once
#include <string>

// Before the window: reads the file. One that cannot be read, or a course text with problems,
// is refused with one line each on stderr (false); a map file the user map reader would stop
// on ends the game here as that reader does, with one line on stderr first.
bool PrepareMapToPlay(const std::string& path);
// quonfel --challenge FILE, before the window: reads and checks the challenge file, puts its
// course on the shelf and prepares it as the map to play, with the file's drive as its ghost.
// That drive stays the challenger's: the player's own best drive is kept as ever. False after
// one line on stderr naming the problem; nothing is written then.
bool PrepareChallengeToPlay(const std::string& path);
// Whether this run plays a map given on the command line; Forget makes it play none (tests).
bool MapToPlayGiven();
void ForgetMapToPlay();
// Plays a course of the shelf as the user-made course from now on.
void PlayShelfCourse(const std::string& path);
// Whether the map this run plays is a course of the shelf, whose own records it keeps.
bool ShelfCourseToPlay();
// After start-up: puts the course on the shelf (records/shelf.h) unless it is there already
// (a shelf that cannot take it says why in one line, and the file is played all the same),
// then into the bus menu (course 11 completed before) or the drive.
void BeginMapToPlay();
// Reads the given map for course 11 of such a run (true); false for any other course or run.
bool LoadMapToPlay(int course);
