// Small courses in the text form that the map tool's tests share.
#pragma once

// The bottom row runs from the start right into the goal: 4 by 3 cells.
inline constexpr const char* SmallCourse = "/= == == =\\\n|| .. .. ||\n\\= S> G> =/\n";

// Up the left side, right along the top, down into the goal.
inline constexpr const char* LoopCourse =
    "/= == == == =\\\n"
    "|| .. .. .. ||\n"
    "S^ .. .. .. Gv\n"
    "|| .. .. .. ||\n"
    "\\= == == == =/\n";
