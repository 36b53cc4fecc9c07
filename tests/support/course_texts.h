// Small courses in the text form that the map tool's tests share, and their grids.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "course/map_text.h"

// The bottom row runs from the start right into the goal: 4 by 3 cells.
inline constexpr const char* SmallCourse = "/= == == =\\\n|| .. .. ||\n\\= S> G> =/\n";

// Up the left side, right along the top, down into the goal.
inline constexpr const char* LoopCourse =
    "/= == == == =\\\n"
    "|| .. .. .. ||\n"
    "S^ .. .. .. Gv\n"
    "|| .. .. .. ||\n"
    "\\= == == == =/\n";

// The grid of a course text, which must read.
inline CourseGrid CourseGridOf(const std::string& text) {
    CourseGrid grid;
    std::vector<std::string> problems;
    EXPECT_TRUE(ParseCourseText(text, grid, problems)) << text;
    return grid;
}
