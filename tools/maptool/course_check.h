// What keeps a course from being driven, said in plain words with the cells, and kept as data
// so that the editor can frame the cells the words name.
#pragma once
#include <string>
#include <vector>

#include "maptool/course_route.h"
#include "maptool/map_text.h"

enum class FindingKind {
    // Problems: the course cannot be driven.
    CourseSize,      // fewer than 1 or more than 20 cells wide or high
    NotATile,        // a value that is no tile code
    NoStart,
    NoGoal,
    RoadOffCourse,   // a road runs off the edge of the course
    RoadBlocked,     // a road runs into a wall, empty ground or a value that is no tile
    NoRoadToGoal,    // no road joins the start to a goal
    GoalWrongWay,    // the road reaches a goal only from the far side of its lane
    // Warnings: the game copes, but a course should not have it.
    SeveralStarts,
    SeveralGoals,
};

struct CourseFinding {
    FindingKind kind;
    std::vector<GridCell> cells;  // every cell the text names, in the order it names them
    std::string text;
    bool Warning() const { return kind == FindingKind::SeveralStarts || kind == FindingKind::SeveralGoals; }
};

// Every problem of the course: counts outside 1..20, values that are not tile codes, no start
// or no goal, road sides that meet a wall, empty ground or the edge of the course, and a start
// that no road leads from, driving forwards, into a goal's lane. Empty when the course is sound.
std::vector<CourseFinding> CheckCourse(const CourseGrid& grid);

// What the game copes with but a course should not have: more than one start tile or goal
// tile, each told with its cells and which one the game uses.
std::vector<CourseFinding> CourseWarnings(const CourseGrid& grid);

// The texts alone, for a list of lines.
std::vector<std::string> TextsOf(const std::vector<CourseFinding>& findings);
