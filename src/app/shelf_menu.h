// The shelf of the player's own courses as the game shows and keeps it: the screen the course
// menu's last row opens, and each shelf course's own best time, best drive and ghost.
#pragma once
#include <cstdint>

// The last row was chosen: the shelf screen when the shelf holds a course (true), else
// nothing (false), and the row goes on as without a shelf.
bool OpenShelf();
// Esc: back to the course menu.
void LeaveShelf();
// Enter: the course under the cursor is driven (the bus menu first once it is cleared), or
// the file dialog's row goes on as the last row does without a shelf.
void ChooseOnShelf();
// A drive starts: a course of the shelf races its own best drive.
void BeginShelfDrive(int course);
// At the goal: the score time counts for the course of the shelf driven, and a new best
// time's drive is kept as its best drive.
void ScoreShelfGoal(std::int32_t drivingSeconds, std::int32_t penaltySeconds, std::int32_t scoreSeconds);
