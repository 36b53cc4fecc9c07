// What keeps a course from being driven, said in plain words with the cells, and kept as data
// so that the editor can frame the cells.
#pragma once
#include <string>
#include <vector>

#include "maptool/course_route.h"
#include "maptool/map_text.h"

// What a finding is about. From SeveralStarts on they are warnings: the game copes with them,
// but a course should not have them. The editor adds what it could not read of a text: a cell
// read as empty ground (UnreadCell), and rows or cells left out (TextLeftOut).
enum class FindingKind {
    CourseSize, NotATile, NoStart, NoGoal, RoadOffCourse, RoadBlocked, NoRoadToGoal, GoalWrongWay, UnreadCell,
    SeveralStarts, SeveralGoals, TextLeftOut
};

struct CourseFinding {
    FindingKind kind;
    std::vector<GridCell> cells;  // every cell the text names, in the order it names them
    std::string text;
    bool Warning() const { return kind >= FindingKind::SeveralStarts; }
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
