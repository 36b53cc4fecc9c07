#include "maptool/course_check.h"

#include <deque>

namespace {

// Words and the cells they name, put together in step so that the cells keep the order in
// which the words name them.
struct Words {
    std::string text;
    std::vector<GridCell> cells;
};
Words operator+(Words a, const Words& b) {
    a.text += b.text;
    a.cells.insert(a.cells.end(), b.cells.begin(), b.cells.end());
    return a;
}
Words operator+(Words a, const std::string& b) { return a + Words{b, {}}; }
Words operator+(const std::string& a, const Words& b) { return Words{a, {}} + b; }

CourseFinding Found(FindingKind kind, const Words& words) { return {kind, words.cells, words.text}; }

Words At(int x, int y) { return {CellName(x, y), {{x, y}}}; }

Words Describe(const CourseGrid& grid, GridCell cell) {
    return "\"" + SymbolOf(grid.At(cell.x, cell.y)) + "\" at " + At(cell.x, cell.y);
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

Words ListCells(const CourseGrid& grid, const std::vector<GridCell>& cells) {
    Words list;
    for (const GridCell& cell : cells) list = list + (list.text.empty() ? "" : "; ") + Describe(grid, cell);
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

void CheckSize(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    for (const std::string& problem : CountProblems(grid)) problems.push_back({FindingKind::CourseSize, {}, problem});
}

void CheckValues(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    for (const GridCell& cell : CellsWhere(grid, [](std::int32_t value) { return !IsTileCode(value); }))
        problems.push_back({FindingKind::NotATile, {cell}, ValueProblem(grid, cell.x, cell.y)});
}

void CheckStarts(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    if (CellsWhere(grid, IsStartCode).empty())
        problems.push_back({FindingKind::NoStart, {}, "there is no start: put one of S< S> S^ Sv on the road"});
}

void CheckGoals(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    if (CellsWhere(grid, IsGoalCode).empty())
        problems.push_back({FindingKind::NoGoal, {}, "there is no goal: put one of G< G> G^ Gv on the road"});
}

Words Several(const CourseGrid& grid, const std::vector<GridCell>& cells, const std::string& what) {
    return "there are " + std::to_string(cells.size()) + " " + what + " tiles (" + ListCells(grid, cells) +
           "); a course has one";
}

Words WhatStopsTheRoad(const CourseGrid& grid, int x, int y) {
    std::int32_t value = grid.At(x, y);
    if (!IsTileCode(value)) return At(x, y) + ", which is not a tile";
    if (value == 0) return "empty ground at " + At(x, y);
    return "the wall of " + Describe(grid, {x, y});
}

void CheckRoadSides(const CourseGrid& grid, std::vector<CourseFinding>& problems) {
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) {
            for (int side = 0; side < 4; ++side) {
                if (!OpensOn(grid, x, y, side) || JoinedOn(grid, x, y, side)) continue;
                int nx = x + StepOf(side).dx, ny = y + StepOf(side).dy;
                Words what = Describe(grid, {x, y}) + ": its road ";
                if (!InGrid(grid, nx, ny)) {
                    problems.push_back(Found(FindingKind::RoadOffCourse,
                                             what + "runs off the course on its " + StepOf(side).name + " side"));
                } else {
                    problems.push_back(Found(FindingKind::RoadBlocked, what + "on its " + StepOf(side).name +
                                                                           " side runs into " +
                                                                           WhatStopsTheRoad(grid, nx, ny)));
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
    Words goalWords = goals.size() == 1 ? "the goal " + Describe(grid, goals[0]) : Words{"any goal", {}};
    Words startWords = "the start " + Describe(grid, start);
    if (!GoalJoined(grid, start)) {
        problems.push_back(Found(FindingKind::NoRoadToGoal, "no road leads from " + startWords + " to " + goalWords));
    } else {
        std::string lane = goals.size() == 1 ? std::string(" (its box is the lane for ") +
                                                   GoalTravel(grid.At(goals[0].x, goals[0].y)) + ")"
                                             : "";
        problems.push_back(Found(FindingKind::GoalWrongWay,
                                 "the road from " + startWords + " reaches " + goalWords +
                                     " only the wrong way round: driving forwards from the start, the bus cannot "
                                     "enter the goal in its lane" + lane));
    }
}

}  // namespace

std::vector<CourseFinding> CheckCourse(const CourseGrid& grid) {
    std::vector<CourseFinding> problems;
    CheckSize(grid, problems);
    CheckValues(grid, problems);
    CheckStarts(grid, problems);
    CheckGoals(grid, problems);
    CheckRoadSides(grid, problems);
    CheckRoute(grid, problems);
    return problems;
}

std::vector<CourseFinding> CourseWarnings(const CourseGrid& grid) {
    std::vector<CourseFinding> warnings;
    std::vector<GridCell> starts = CellsWhere(grid, IsStartCode);
    if (starts.size() > 1) {
        const GridCell used = LastReadByTheGame(starts);
        warnings.push_back(Found(FindingKind::SeveralStarts, Several(grid, starts, "start") +
                                                                 ": the bus starts on the last in column order, " +
                                                                 Describe(grid, used)));
    }
    std::vector<GridCell> goals = CellsWhere(grid, IsGoalCode);
    if (goals.size() > 1) {
        const GridCell marked = LastReadByTheGame(goals);
        warnings.push_back(Found(FindingKind::SeveralGoals, Several(grid, goals, "goal") +
                                                                ": the bus may finish on any of them, and the minimap "
                                                                "marks the last in column order, " +
                                                                Describe(grid, marked)));
    }
    return warnings;
}

std::vector<std::string> TextsOf(const std::vector<CourseFinding>& findings) {
    std::vector<std::string> texts;
    for (const CourseFinding& finding : findings) texts.push_back(finding.text);
    return texts;
}
