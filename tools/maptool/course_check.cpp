#include "maptool/course_check.h"

#include <deque>

#include "maptool/course_route.h"

namespace {

std::string Describe(const CourseGrid& grid, int x, int y) {
    return "\"" + SymbolOf(grid.At(x, y)) + "\" at " + CellName(x, y);
}

const char* GoalTravel(std::int32_t code) {
    static const char* words[4] = {"driving left", "driving right", "driving up", "driving down"};
    return words[code - 20];
}

struct Cell {
    int x;
    int y;
};

std::vector<Cell> CellsWhere(const CourseGrid& grid, bool (*test)(std::int32_t)) {
    std::vector<Cell> found;
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) {
            if (test(grid.At(x, y))) found.push_back({x, y});
        }
    }
    return found;
}

std::string ListCells(const CourseGrid& grid, const std::vector<Cell>& cells) {
    std::string list;
    for (const Cell& cell : cells) list += (list.empty() ? "" : "; ") + Describe(grid, cell.x, cell.y);
    return list;
}

// The game reads the cells column by column, top to bottom, and keeps the last start and
// the last goal it meets.
Cell LastReadByTheGame(const std::vector<Cell>& cells) {
    Cell last = cells.front();
    for (const Cell& cell : cells) {
        if (cell.x > last.x || (cell.x == last.x && cell.y > last.y)) last = cell;
    }
    return last;
}

void CheckStarts(const CourseGrid& grid, std::vector<std::string>& problems) {
    if (CellsWhere(grid, IsStartCode).empty()) problems.push_back("there is no start: put one of S< S> S^ Sv on the road");
}

void CheckGoals(const CourseGrid& grid, std::vector<std::string>& problems) {
    if (CellsWhere(grid, IsGoalCode).empty()) problems.push_back("there is no goal: put one of G< G> G^ Gv on the road");
}

std::string Several(const CourseGrid& grid, const std::vector<Cell>& cells, const std::string& what) {
    return "there are " + std::to_string(cells.size()) + " " + what + " tiles (" + ListCells(grid, cells) +
           "); a course has one";
}

std::string WhatStopsTheRoad(const CourseGrid& grid, int x, int y) {
    std::int32_t value = grid.At(x, y);
    if (!IsTileCode(value)) return CellName(x, y) + ", which is not a tile";
    if (value == 0) return "empty ground at " + CellName(x, y);
    return "the wall of " + Describe(grid, x, y);
}

void CheckRoadSides(const CourseGrid& grid, std::vector<std::string>& problems) {
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) {
            for (int side = 0; side < 4; ++side) {
                if (!OpensOn(grid, x, y, side) || JoinedOn(grid, x, y, side)) continue;
                int nx = x + StepOf(side).dx, ny = y + StepOf(side).dy;
                std::string what = Describe(grid, x, y) + ": its road ";
                if (!InGrid(grid, nx, ny)) {
                    problems.push_back(what + "runs off the course on its " + StepOf(side).name + " side");
                } else {
                    problems.push_back(what + "on its " + StepOf(side).name + " side runs into " +
                                       WhatStopsTheRoad(grid, nx, ny));
                }
            }
        }
    }
}

// Whether any goal tile lies on road joined to the start, whichever way it is driven.
bool GoalJoined(const CourseGrid& grid, Cell start) {
    std::vector<bool> seen(grid.cells.size(), false);
    std::deque<Cell> open{start};
    seen[static_cast<std::size_t>(start.x) * grid.yCount + start.y] = true;
    while (!open.empty()) {
        Cell cell = open.front();
        open.pop_front();
        if (IsGoalCode(grid.At(cell.x, cell.y))) return true;
        for (int side = 0; side < 4; ++side) {
            if (!JoinedOn(grid, cell.x, cell.y, side)) continue;
            Cell next{cell.x + StepOf(side).dx, cell.y + StepOf(side).dy};
            std::size_t index = static_cast<std::size_t>(next.x) * grid.yCount + next.y;
            if (!seen[index]) {
                seen[index] = true;
                open.push_back(next);
            }
        }
    }
    return false;
}

// From the start the bus is placed on; any goal tile finishes the drive.
void CheckRoute(const CourseGrid& grid, std::vector<std::string>& problems) {
    std::vector<Cell> goals = CellsWhere(grid, IsGoalCode);
    std::vector<Cell> starts = CellsWhere(grid, IsStartCode);
    if (goals.empty() || starts.empty()) return;
    const Cell start = LastReadByTheGame(starts);
    if (!PlanRoute(grid, start.x, start.y).empty()) return;
    std::string goalWords = goals.size() == 1 ? "the goal " + Describe(grid, goals[0].x, goals[0].y) : "any goal";
    std::string startWords = "the start " + Describe(grid, start.x, start.y);
    if (!GoalJoined(grid, start)) {
        problems.push_back("no road leads from " + startWords + " to " + goalWords);
    } else {
        std::string lane = goals.size() == 1 ? std::string(" (its box is the lane for ") +
                                                   GoalTravel(grid.At(goals[0].x, goals[0].y)) + ")"
                                             : "";
        problems.push_back("the road from " + startWords + " reaches " + goalWords +
                           " only the wrong way round: driving forwards from the start, the bus cannot "
                           "enter the goal in its lane" + lane);
    }
}

}  // namespace

std::vector<std::string> CheckCourse(const CourseGrid& grid) {
    std::vector<std::string> problems = CountProblems(grid);
    std::vector<std::string> values = ValueProblems(grid);
    problems.insert(problems.end(), values.begin(), values.end());
    CheckStarts(grid, problems);
    CheckGoals(grid, problems);
    CheckRoadSides(grid, problems);
    CheckRoute(grid, problems);
    return problems;
}

std::vector<std::string> CourseWarnings(const CourseGrid& grid) {
    std::vector<std::string> warnings;
    std::vector<Cell> starts = CellsWhere(grid, IsStartCode);
    if (starts.size() > 1) {
        const Cell used = LastReadByTheGame(starts);
        warnings.push_back(Several(grid, starts, "start") + ": the bus starts on the last in column order, " +
                           Describe(grid, used.x, used.y));
    }
    std::vector<Cell> goals = CellsWhere(grid, IsGoalCode);
    if (goals.size() > 1) {
        const Cell marked = LastReadByTheGame(goals);
        warnings.push_back(Several(grid, goals, "goal") + ": the bus may finish on any of them, and the minimap " +
                           "marks the last in column order, " + Describe(grid, marked.x, marked.y));
    }
    return warnings;
}
