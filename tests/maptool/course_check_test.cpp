#include <gtest/gtest.h>

#include <regex>

#include "maptool/course_check.h"
#include "maptool/course_route.h"
#include "support/course_texts.h"

namespace {

std::string Joined(const std::vector<CourseFinding>& findings) {
    std::string all;
    for (const CourseFinding& f : findings) all += f.text + "\n";
    return all;
}

// A finding's cells are those its words name, "(x=4, y=2)" each, in the same order.
void ExpectCellsAsNamed(const CourseFinding& finding) {
    static const std::regex cellName(R"(\(x=(-?\d+), y=(-?\d+)\))");
    std::vector<GridCell> named;
    for (auto it = std::sregex_iterator(finding.text.begin(), finding.text.end(), cellName);
         it != std::sregex_iterator(); ++it)
        named.push_back({std::stoi((*it)[1]), std::stoi((*it)[2])});
    EXPECT_EQ(finding.cells, named) << finding.text;
}

TEST(CourseCheck, SoundCourseHasNoProblems) {
    const char* sound[] = {
        "/= == == == =\\\n|| .. .. .. ||\n\\= S> == G> =/\n",
        "/= == == == =\\\n|| .. .. .. G^\n|| .. .. .. ||\n\\= S> == == =/\n",
    };
    for (const char* text : sound) {
        EXPECT_EQ(Joined(CheckCourse(CourseGridOf(text))), "") << text;
        EXPECT_EQ(Joined(CourseWarnings(CourseGridOf(text))), "") << text;
    }
}

TEST(CourseCheck, EachKindOfProblemIsExplainedWithItsCell) {
    struct Case {
        const char* text;
        std::vector<const char*> expected;  // pieces of the problems, in order
        std::vector<FindingKind> kinds;
    };
    using K = FindingKind;
    const Case cases[] = {
        {"/= == == =\\\n|| .. .. ||\n\\= S> 24 =/\n",
         {"row 3, column 3 (x=2, y=2) holds 24, which is not a tile code", "there is no goal",
          "\"S>\" at row 3, column 2 (x=1, y=2): its road on its right side runs into row 3, column 3 (x=2, y=2), "
          "which is not a tile",
          "\"=/\" at row 3, column 4 (x=3, y=2): its road on its left side runs into row 3, column 3"},
         {K::NotATile, K::NoGoal, K::RoadBlocked, K::RoadBlocked}},
        {"/= == =\\\n|| .. ||\n\\= == =/\n", {"there is no start", "there is no goal"}, {K::NoStart, K::NoGoal}},
        {"S> == G>\n",
         {"\"S>\" at row 1, column 1 (x=0, y=0): its road runs off the course on its left side",
          "\"G>\" at row 1, column 3 (x=2, y=0): its road runs off the course on its right side"},
         {K::RoadOffCourse, K::RoadOffCourse}},
        {"/= == == =\\\n|| .. .. ||\n\\= S> G> ..\n",
         {"\"||\" at row 2, column 4 (x=3, y=1): its road on its bottom side runs into empty ground at row 3, column 4",
          "\"G>\" at row 3, column 3 (x=2, y=2): its road on its right side runs into empty ground at row 3, column 4"},
         {K::RoadBlocked, K::RoadBlocked}},
        {"/= == =\\\n|| .. ||\n\\= S> ||\n",
         {"there is no goal",
          "\"S>\" at row 3, column 2 (x=1, y=2): its road on its right side runs into the wall of \"||\" at row 3, "
          "column 3",
          "\"||\" at row 3, column 3 (x=2, y=2): its road runs off the course on its bottom side"},
         {K::NoGoal, K::RoadBlocked, K::RoadOffCourse}},
        {"/= == =\\\n|| .. ||\n\\= S> =/\n/= == =\\\nGv .. ||\n\\= == =/\n",
         {"no road leads from the start \"S>\" at row 3, column 2 (x=1, y=2) to the goal \"Gv\" at row 5, column 1"},
         {K::NoRoadToGoal}},
        {"/= == G> =\\\n|| .. .. ||\n\\= S> == =/\n",
         {"reaches the goal \"G>\" at row 1, column 3 (x=2, y=0) only the wrong way round: driving forwards from "
          "the start, the bus cannot enter the goal in its lane (its box is the lane for driving right)"},
         {K::GoalWrongWay}},
    };
    for (const Case& c : cases) {
        std::vector<CourseFinding> problems = CheckCourse(CourseGridOf(c.text));
        ASSERT_EQ(problems.size(), c.expected.size()) << c.text << Joined(problems);
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_NE(problems[i].text.find(c.expected[i]), std::string::npos) << problems[i].text;
            EXPECT_EQ(problems[i].kind, c.kinds[i]) << problems[i].text;
            ExpectCellsAsNamed(problems[i]);
        }
    }
}

// The game copes with a second start or goal tile, so the course still builds; the start it
// uses (the last in column order) is the one whose road must lead to a goal.
TEST(CourseCheck, ASecondStartOrGoalTileIsAWarningThatNamesTheCells) {
    struct Case {
        const char* text;
        std::vector<const char*> warning;  // pieces of the one warning
        const char* problems;
    };
    const Case cases[] = {
        {"/= == == == == =\\\n|| .. .. .. .. ||\n\\= S> == G> G> =/\n",
         {"there are 2 goal tiles (\"G>\" at row 3, column 4 (x=3, y=2); \"G>\" at row 3, column 5 (x=4, y=2)); a "
          "course has one: the bus may finish on any of them, and the minimap marks the last in column order, \"G>\" "
          "at row 3, column 5"},
         ""},
        {"/= S> G> =\\\n|| .. .. ||\n\\= S< == =/\n",
         {"there are 2 start tiles (\"S>\" at row 1, column 2 (x=1, y=0); \"S<\" at row 3, column 2 (x=1, y=2)); a "
          "course has one: the bus starts on the last in column order, \"S<\" at row 3, column 2"},
         ""},
        // Two loops, the goal on the lower one, the start the game uses on the upper one.
        {"/= == =\\\n|| .. S^\n\\= == =/\n/= == =\\\nG^ .. ||\n\\= S< =/\n",
         {"there are 2 start tiles", "the bus starts on the last in column order, \"S^\" at row 2, column 3"},
         "no road leads from the start \"S^\" at row 2, column 3 (x=2, y=1) to the goal \"G^\" at row 5, column 1"},
    };
    for (const Case& c : cases) {
        std::vector<CourseFinding> warnings = CourseWarnings(CourseGridOf(c.text));
        ASSERT_EQ(warnings.size(), 1u) << c.text << Joined(warnings);
        for (const char* piece : c.warning)
            EXPECT_NE(warnings[0].text.find(piece), std::string::npos) << warnings[0].text;
        EXPECT_TRUE(warnings[0].Warning());
        ExpectCellsAsNamed(warnings[0]);
        std::string problems = Joined(CheckCourse(CourseGridOf(c.text)));
        if (*c.problems == '\0') EXPECT_EQ(problems, "") << c.text;
        else EXPECT_NE(problems.find(c.problems), std::string::npos) << problems;
    }
}

TEST(CourseCheck, CountsOutsideOneToTwentyAreProblems) {
    CourseGrid grid;
    grid.Resize(21, 1);
    std::vector<CourseFinding> problems = CheckCourse(grid);
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems[0].text.find("21 cells wide; it must be 1 to 20"), std::string::npos);
    EXPECT_EQ(problems[0].kind, FindingKind::CourseSize);
    grid.Resize(3, 0);
    EXPECT_NE(CheckCourse(grid)[0].text.find("0 cells high"), std::string::npos);
}

TEST(CourseRoute, TurnsAtJunctionsAndRunsToTheEndOfTheGoalRow) {
    // The planner follows joined roads only; the dead end above the goal does not matter to it.
    CourseGrid grid = CourseGridOf(
        "/= == =v == =\\\n"
        "|| .. || .. ||\n"
        "\\= S> =^ G^ ||\n"
        ".. .. .. G^ ||\n"
        ".. .. .. \\= =/\n");
    std::vector<RouteStep> route = PlanRoute(grid, 1, 2);
    // Left at the junction, right along the top, round and up into the goal from below.
    std::vector<std::pair<int, int>> cells;
    for (const RouteStep& step : route) cells.push_back({step.x, step.y});
    std::vector<std::pair<int, int>> expected = {{1, 2}, {2, 2}, {2, 1}, {2, 0}, {3, 0}, {4, 0}, {4, 1},
                                                 {4, 2}, {4, 3}, {4, 4}, {3, 4}, {3, 3}, {3, 2}};
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(route.front().inSide, NoSide);
    EXPECT_EQ(route.front().outSide, SideRight);
    EXPECT_EQ(route[2].inSide, SideBottom);
    EXPECT_EQ(route.back().inSide, SideBottom);
    EXPECT_EQ(route.back().outSide, NoSide);
    // The goal row was entered at (3, 3) and carried on to (3, 2).
    EXPECT_EQ(route[route.size() - 2].outSide, SideTop);
}

TEST(CourseRoute, NoRouteWhenTheGoalCanOnlyBeEnteredTheWrongWay) {
    CourseGrid grid = CourseGridOf("/= == G> =\\\n|| .. .. ||\n\\= S> == =/\n");
    EXPECT_TRUE(PlanRoute(grid, 1, 2).empty());
    EXPECT_TRUE(PlanRoute(grid, 0, 0).empty());  // not a start
}

}  // namespace
