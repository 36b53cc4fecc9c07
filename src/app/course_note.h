// One line over the foot of the course view for a while: a hint about the goal, or why the
// ghost is missing. Nothing shows unless asked for, so the driving screen stays as it is.
#pragma once
#include <string>

#include "course/course_map.h"
#include "replays/ghost.h"

class Surface;

// The line for a missed goal in the game's language; empty for a goal, or a bus off the goal
// tile.
std::string GoalHintText(GoalMiss miss);
// The line for a drive with the ghost on that has none to race; empty otherwise.
std::string NoGhostText(GhostStart start);

// Shows the line for the next two seconds of driving, in place of any line before it.
void ShowCourseNote(const std::string& text);
void ForgetCourseNote();
// The line while it shows; empty when none does.
const std::string& CourseNoteShown();
// Draws the line over a driving frame (at WindowOrigin) and counts the frame.
void DrawCourseNote(Surface& surface);
