// Roads between cells: which sides of a cell join its neighbours, and the route a bus drives
// forwards from the start into the goal.
#pragma once
#include <cstdint>
#include <vector>

#include "maptool/map_text.h"

// Sides of a cell, numbered so that side ^ 1 is the opposite side.
enum CellSide { SideTop = 0, SideBottom = 1, SideLeft = 2, SideRight = 3 };
constexpr int NoSide = -1;

struct SideStep {
    int dx;
    int dy;
    const char* name;
};
const SideStep& StepOf(int side);

struct GridCell {
    int x;
    int y;
};
inline bool operator==(GridCell a, GridCell b) { return a.x == b.x && a.y == b.y; }

bool IsStartCode(std::int32_t value);
bool IsGoalCode(std::int32_t value);
bool InGrid(const CourseGrid& grid, int x, int y);

// Whether the road of (x, y) leaves by side, and whether it goes on into the neighbour there.
bool OpensOn(const CourseGrid& grid, int x, int y, int side);
bool JoinedOn(const CourseGrid& grid, int x, int y, int side);

// The side a start code sends the bus out through, and the side a bus must come in through to
// stand in a goal box's lane.
int StartSide(std::int32_t startCode);
int GoalEntrySide(std::int32_t goalCode);

// One cell of a route: the side the bus comes in through (NoSide on the start) and the side it
// leaves through (NoSide on the last cell).
struct RouteStep {
    int x;
    int y;
    int inSide;
    int outSide;
};

// The shortest route, in cells, that a bus leaving the start at (startX, startY) forwards
// drives into the goal in its lane, turning at junctions but never turning back inside a
// tile; it goes on to the end of the goal's row of tiles. Empty when there is none.
std::vector<RouteStep> PlanRoute(const CourseGrid& grid, int startX, int startY);
