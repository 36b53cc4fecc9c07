#include <gtest/gtest.h>

#include "course/course_map.h"

TEST(CourseMapConstruction, StartsWithUnloadedGridAndOutsideStartAndGoal) {
    CourseMap map;
    EXPECT_EQ(map.grid[0][0], -1);
    EXPECT_EQ(map.grid[19][19], -1);
    EXPECT_EQ(map.startCellX, 23);
    EXPECT_EQ(map.goalCellY, 23);
    EXPECT_EQ(map.CodeAt(20, 0), -1);
    EXPECT_EQ(map.CodeAt(-1, 5), -1);
}
