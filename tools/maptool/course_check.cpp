#include "maptool/course_check.h"

#include <deque>

namespace {

std::string Describe(const CourseGrid& grid, int x, int y) {
    return "\"" + SymbolOf(grid.At(x, y)) + "\" at " + CellName(x, y);
}

const char* GoalTravel(std::int32_t code) {
    static const char* words[4] = {"driving left", "driving right", "driving up", "driving down"};
    return words[code - 20];
}

// Row by row, as a player reads the text.
std::vector<GridCell> CellsWhere(const CourseGrid& grid, bool (*test)(std::int32_t)) {
    std::vector<GridCell> found;
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) {
            if (test(grid.At(x, y))) found.push_back({x, y});
        }
    }
    return found;
}

std::string ListCells(const CourseGrid& grid, const std::vector<GridCell>& cells) {
    std::string list;
    for (const GridCell& cell : cells) list += (list.empty() ? "" : "; ") + Describe(grid, cell.x, cell.y);
    return list;
}

// The game reads the cells column by column, top to bottom, and keeps the last start and
// the last goal it meets.
GridCell LastReadByTheGame(const std::vector<GridCell>& cells) {
    GridCell last = cells.front();
    for (const GridCell& cell : cells) {
        if (cell.x > last.x || (cell.x == last.x && cell.y > last.y)) last = cell;
    }
    return last;
}

void CheckStarts(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    if (CellsWhere(grid, IsStartCode).empty())
        problems.push_back({FindingKind::NoStart, {}, "there is no start: put one of S< S> S^ Sv on the road"});
}

void CheckGoals(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    if (CellsWhere(grid, IsGoalCode).empty())
        problems.push_back({FindingKind::NoGoal, {}, "there is no goal: put one of G< G> G^ Gv on the road"});
}

// More than one tile that passes test: their cells, then what the game does with the last in
// column order (use) and that cell.
void WarnOfSeveral(const CourseGrid& grid, bool (*test)(std::int32_t), FindingKind kind, const std::string& what,
                   const std::string& use, std::vector<CourseFinding>& warnings) {
    std::vector<GridCell> cells = CellsWhere(grid, test);
    if (cells.size() < 2) return;
    const GridCell last = LastReadByTheGame(cells);
    std::string text = "there are " + std::to_string(cells.size()) + " " + what + " tiles (" + ListCells(grid, cells) +
                       "); a course has one: " + use + " the last in column order, " + Describe(grid, last.x, last.y);
    cells.push_back(last);
    warnings.push_back({kind, cells, text});
}

std::string WhatStopsTheRoad(const CourseGrid& grid, int x, int y) {
    std::int32_t value = grid.At(x, y);
    if (!IsTileCode(value)) return CellName(x, y) + ", which is not a tile";
    if (value == 0) return "empty ground at " + CellName(x, y);
    return "the wall of " + Describe(grid, x, y);
}

void CheckRoadSides(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) {
            for (int side = 0; side < 4; ++side) {
                if (!OpensOn(grid, x, y, side) || JoinedOn(grid, x, y, side)) continue;
                int nx = x + StepOf(side).dx, ny = y + StepOf(side).dy;
                std::string what = Describe(grid, x, y) + ": its road ";
                if (!InGrid(grid, nx, ny)) {
                    problems.push_back({FindingKind::RoadOffCourse, {{x, y}},
                                        what + "runs off the course on its " + StepOf(side).name + " side"});
                } else {
                    problems.push_back({FindingKind::RoadBlocked, {{x, y}, {nx, ny}},
                                        what + "on its " + StepOf(side).name + " side runs into " +
                                            WhatStopsTheRoad(grid, nx, ny)});
                }
            }
        }
    }
}

// Whether any goal tile lies on road joined to the start, whichever way it is driven.
bool GoalJoined(const CourseGrid& grid, GridCell start) {
    std::vector<bool> seen(grid.cells.size(), false);
    std::deque<GridCell> open{start};
    seen[static_cast<std::size_t>(start.x) * grid.yCount + start.y] = true;
    while (!open.empty()) {
        GridCell cell = open.front();
        open.pop_front();
        if (IsGoalCode(grid.At(cell.x, cell.y))) return true;
        for (int side = 0; side < 4; ++side) {
            if (!JoinedOn(grid, cell.x, cell.y, side)) continue;
            GridCell next{cell.x + StepOf(side).dx, cell.y + StepOf(side).dy};
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
void CheckRoute(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    std::vector<GridCell> goals = CellsWhere(grid, IsGoalCode);
    std::vector<GridCell> starts = CellsWhere(grid, IsStartCode);
    if (goals.empty() || starts.empty()) return;
    const GridCell start = LastReadByTheGame(starts);
    if (!PlanRoute(grid, start.x, start.y).empty()) return;
    std::string goalWords = goals.size() == 1 ? "the goal " + Describe(grid, goals[0].x, goals[0].y) : "any goal";
    std::string startWords = "the start " + Describe(grid, start.x, start.y);
    std::vector<GridCell> named{start};
    if (goals.size() == 1) named.push_back(goals[0]);
    if (!GoalJoined(grid, start)) {
        problems.push_back({FindingKind::NoRoadToGoal, named, "no road leads from " + startWords + " to " + goalWords});
    } else {
        std::string lane = goals.size() == 1 ? std::string(" (its box is the lane for ") +
                                                   GoalTravel(grid.At(goals[0].x, goals[0].y)) + ")"
                                             : "";
        problems.push_back({FindingKind::GoalWrongWay, named,
                            "the road from " + startWords + " reaches " + goalWords +
                                " only the wrong way round: driving forwards from the start, the bus cannot "
                                "enter the goal in its lane" + lane});
    }
}

}  // namespace

std::vector<CourseFinding> CheckCourse(const CourseGrid& grid) {
    std::vector<CourseFinding> problems;
    for (const std::string& problem : CountProblems(grid)) problems.push_back({FindingKind::CourseSize, {}, problem});
    for (const GridCell& cell : CellsWhere(grid, [](std::int32_t value) { return !IsTileCode(value); }))
        problems.push_back({FindingKind::NotATile, {cell}, ValueProblem(grid, cell.x, cell.y)});
    CheckStarts(grid, problems);
    CheckGoals(grid, problems);
    CheckRoadSides(grid, problems);
    CheckRoute(grid, problems);
    return problems;
}

std::vector<CourseFinding> CourseWarnings(const CourseGrid& grid) {
    std::vector<CourseFinding> warnings;
    WarnOfSeveral(grid, IsStartCode, FindingKind::SeveralStarts, "start", "the bus starts on", warnings);
    WarnOfSeveral(grid, IsGoalCode, FindingKind::SeveralGoals, "goal",
                  "the bus may finish on any of them, and the minimap marks", warnings);
    return warnings;
}

std::vector<std::string> TextsOf(const std::vector<CourseFinding>& findings) {
    std::vector<std::string> texts;
    for (const CourseFinding& finding : findings) texts.push_back(finding.text);
    return texts;
}
