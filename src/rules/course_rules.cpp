// Placeholder; replaced by the course rules' implementation.
#include "course/course_map.h"
#include "rules/walls.h"
CornerOutline cornerOutline{};
int OpenSides(int) { return 0; }
bool OnStraightWallFace(int, int, int) { return false; }
bool InStraightDeepZone(int, int, int) { return false; }
int ContactCornerOrder(int, int*) { return 0; }
int CrashCornerOrder(int, int*) { return 0; }
void CornerPieceVertices(int, Point*) {}
void CornerTriangleVertices(int, Point*) {}
bool InCornerPiece(int, int, int) { return false; }
bool InCornerTriangle(int, int, int) { return false; }
int CourseMap::CheckLane() { return 0; }
void CourseMap::ApplyLaneRule() {}
int CourseMap::CheckWallContact() { return 0; }
void CourseMap::ApplyWallRule() {}
int CourseMap::CheckCrash() { return 0; }
int CourseMap::CheckGoalIn() { return 0; }
void CourseMap::BuildCornerPiece(int) {}
