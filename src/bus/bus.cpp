// Placeholder; replaced by the bus's implementation.
#include "bus/bus.h"
#include "course/course_map.h"
BusGeometry busGeometry{};
std::int32_t maxSteerDeg = 0;
BusState liveBusState{};
BusState frameBusState{};
Bus::Bus() = default;
Bus::~Bus() = default;
void Bus::Setup() {}
void Bus::Advance() {}
void Bus::Transform() {}
void Bus::Shift(int, int) {}
double Bus::DegToRad(int degrees) { return degrees * 0.017453292519943295; }
int Bus::RadToDeg(double) { return 0; }
Point Bus::RotatePoint(int x, int y, double) { return {x, y}; }
void CourseMap::PlaceBus(int) {}
void CourseMap::FollowBus() {}
void CourseMap::DrawBus() {}
void DrawGear() {}
void DrawSteeringGauge() {}
