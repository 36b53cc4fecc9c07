// The bus's motion on the course and the carrying of its body points into course pixels.
#include <cmath>

#include "bus/bus.h"
#include "course/course_map.h"

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double TwoPi = 6.283185307179586;

// Outward rounding: a value a hair above a whole number moves one pixel out.
int RoundAwayFromZero(double value) {
    if (value > 0) return static_cast<int>(std::ceil(value));
    return -static_cast<int>(std::ceil(-value));
}

// Counts come from our own tables, but never let a bad one index past an array.
int Clamp(int count, int limit) { return count < 0 ? 0 : (count > limit ? limit : count); }

Point Add(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }

void ShiftPoint(Point& p, int dx, int dy) {
    p.x -= dx;
    p.y -= dy;
}

}  // namespace

int OptionPointCount(const BusOption& option) { return Clamp(option.count, MaxOptionPoints); }
int OutlinePointCount(std::int32_t outlineCount) { return Clamp(outlineCount, MaxOutlinePoints); }

void AdvanceBus(BusState& s, const BusGeometry& g) {
    const double h = s.heading;
    const double steer = s.steering;
    const double v = s.speed;
    const double L = g.wheelbase;
    double dx, dy, newHeading;
    if (steer == 0.0) {
        dx = -v * std::sin(h);
        dy = -v * std::cos(h);
        newHeading = h;
    } else {
        // On the turning circle of the rear-axle centre; the chord is laid along the new
        // heading.
        const double R = L / std::tan(steer);
        const double turn = v / R;
        const double chord = -2.0 * R * std::sin(turn / 2.0);
        newHeading = h + turn;
        dx = chord * std::sin(newHeading);
        dy = chord * std::cos(newHeading);
    }
    s.exactX += dx;
    s.exactY += dy;
    s.heading = newHeading;
    s.x = static_cast<std::int32_t>(std::trunc(s.exactX));
    s.y = static_cast<std::int32_t>(std::trunc(s.exactY));
    if (s.heading > Pi) s.heading -= TwoPi;
    if (s.heading < -Pi) s.heading += TwoPi;
}

// Polar form on purpose: its floating-point error, rounded outward, decides the last pixel.
Point Bus::RotatePoint(int x, int y, double angle) {
    const double X = x;
    const double Y = y;
    const double r = std::sqrt(std::pow(Y, 2.0) + std::pow(X, 2.0));
    const double phi = std::atan2(X, Y) + angle;
    return {RoundAwayFromZero(r * std::sin(phi)), RoundAwayFromZero(r * std::cos(phi))};
}

void TransformBus(BusState& s, const BusGeometry& g) {
    const Point origin{s.x, s.y};
    const auto place = [&](Point body) { return Add(Bus::RotatePoint(body.x, body.y, s.heading), origin); };

    s.outlineCount = g.outlineCount;
    for (int i = 0; i < OutlinePointCount(s.outlineCount); ++i) s.outline[i] = place(g.outline[i]);

    s.driverPoint = place(g.driverPoint);
    for (int w = 0; w < 2; ++w) s.frontWheel[w] = place(g.frontWheel[w]);

    // Each front wheel is a 10-pixel stroke along heading plus steering.
    const Point strokeOffsets[2] = {{0, -5}, {0, 5}};
    for (int end = 0; end < 2; ++end) {
        const Point r = Bus::RotatePoint(strokeOffsets[end].x, strokeOffsets[end].y, s.heading + s.steering);
        for (int w = 0; w < 2; ++w) s.frontWheelLine[w][end] = Add(s.frontWheel[w], r);
    }

    s.rearWheel[0] = place({-g.halfWidth, 0});
    s.rearWheel[1] = place({g.halfWidth, 0});

    for (BusOption& option : s.options) {
        option.type = OptionEnd;
        option.count = 0;
    }
    for (int e = 0; e < MaxOptions && g.options[e].type != OptionEnd; ++e) {
        const BusOption& from = g.options[e];
        BusOption& to = s.options[e];
        to.type = from.type;
        to.colour = from.colour;
        to.count = from.count;
        for (int i = 0; i < OptionPointCount(from); ++i) to.points[i] = place(from.points[i]);
    }
}

void ShiftBusState(BusState& s, int dx, int dy) {
    s.exactX -= dx;
    s.exactY -= dy;
    s.x -= dx;
    s.y -= dy;
    for (int i = 0; i < OutlinePointCount(s.outlineCount); ++i) ShiftPoint(s.outline[i], dx, dy);
    ShiftPoint(s.driverPoint, dx, dy);
    for (int w = 0; w < 2; ++w) {
        ShiftPoint(s.frontWheel[w], dx, dy);
        ShiftPoint(s.frontWheelLine[w][0], dx, dy);
        ShiftPoint(s.frontWheelLine[w][1], dx, dy);
        ShiftPoint(s.rearWheel[w], dx, dy);
    }
    for (BusOption& option : s.options)
        for (int i = 0; i < OptionPointCount(option); ++i) ShiftPoint(option.points[i], dx, dy);
}

void Bus::Advance() { AdvanceBus(liveBusState, busGeometry); }
void Bus::Transform() { TransformBus(liveBusState, busGeometry); }
void Bus::Shift(int tilesX, int tilesY) { ShiftBusState(liveBusState, TileSize * tilesX, TileSize * tilesY); }
