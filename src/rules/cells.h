// Where a course-view point lies on the course: its grid cell and its place inside the tile.
// Every course rule splits points this way.
#pragma once
#include "course/course_map.h"
#include "platform/geometry.h"

struct CellPoint {
    int cellX;
    int cellY;
    int lx;  // in-tile x; negative for a negative view coordinate, as the division leaves it
    int ly;
};

// The cell counts from the current cell, which the view shows at offset (2, 2).
CellPoint SplitPoint(const CourseMap& map, Point viewPoint);

// Inside the loaded course. A cell beyond the 20 by 20 grid is off it whatever the
// last-cell fields say, so the grid is never read outside its bounds.
bool OnGrid(const CourseMap& map, const CellPoint& at);

// The tile code of an on-grid cell; anything that is not a tile code (-1 of a cell never
// loaded, a damaged value) reads as the empty code 0.
int TileCodeAt(const CourseMap& map, const CellPoint& at);

// Both bounds included.
inline bool Within(int value, int first, int last) { return value >= first && value <= last; }
