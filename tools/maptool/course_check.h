// What keeps a course from being driven, said in plain words with the cell.
#pragma once
#include <string>
#include <vector>

#include "maptool/map_text.h"

// Every problem of the course: counts outside 1..20, values that are not tile codes, no start
// or no goal, road sides that meet a wall, empty ground or the edge of the course, and a start
// that no road leads from, driving forwards, into a goal's lane. Empty when the course is sound.
std::vector<std::string> CheckCourse(const CourseGrid& grid);

// What the game copes with but a course should not have: more than one start tile or goal
// tile, each told with its cells and which one the game uses.
std::vector<std::string> CourseWarnings(const CourseGrid& grid);
