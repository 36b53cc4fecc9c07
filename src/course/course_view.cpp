// Placeholder; replaced by the course view's implementation.
#include "course/course_map.h"
void CourseMap::RenderMap(Surface&) {}
void CourseMap::DrawMinimap() {}
