// Placeholder; replaced by the course rules' implementation.
#include "course/course_map.h"
int CourseMap::CheckLane() { return 0; }
void CourseMap::ApplyLaneRule() {}
int CourseMap::CheckWallContact() { return 0; }
void CourseMap::ApplyWallRule() {}
int CourseMap::CheckCrash() { return 0; }
int CourseMap::CheckGoalIn() { return 0; }
void CourseMap::BuildCornerPiece(int) {}
