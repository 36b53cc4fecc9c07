// A driver that presses the game's own keys to take the bus along a route from the start into
// the goal box, stop there and shift to neutral. It sees only what a player sees: where the
// bus stands and faces, its speed, gear and steering.
#pragma once
#include <vector>

#include "app/headless_game.h"
#include "maptool/course_route.h"
#include "maptool/map_text.h"

// What the driver needs to know of the bus type.
struct BusMeasures {
    int wheelbase;
    int frontOverhang;
    int rearOverhang;
    int halfWidth;
    int maxSteerDeg;
};

// How the driver takes a turn: the rear axle's distance from the road's left edge going into
// and coming out of it, and the radius it turns on.
struct TurnLine {
    double inset;
    double outset;
    double radius;
};

// Left turns hug the inner corner. Right turns swing wide and come out near the lane line, so
// the outer front wheel and corner stay off the wall of the road they turn into.
struct DrivingStyle {
    TurnLine left{44, 44, 44};
    TurnLine right{44, 50, 110};
    double cruiseSpeed = 4.0;
    double turnSpeed = 2.0;
    double settleLength = 24.0;  // how quickly a drift off the line is taken back, in pixels
};

// The style that suits a bus: the right-turn radius grows with the wheelbase until the outer
// front wheel stays off the wall.
DrivingStyle StyleFor(const BusMeasures& bus);

// A piece of the line the rear axle follows: straight from one point to another, or an arc.
struct PathPiece {
    bool arc;
    double x0, y0, x1, y1;          // line: from, to
    double cx, cy, radius, a0, sweep;  // arc: centre, radius, start angle, signed sweep (radians)
    double length;
};

struct LanePath {
    std::vector<PathPiece> pieces;
    double length = 0;
};

// The line along a route: the middle of the left lane on straight tiles, arcs in turns.
LanePath LaneLine(const CourseGrid& grid, const std::vector<RouteStep>& route, const DrivingStyle& style);

class DriveController {
public:
    DriveController(const CourseGrid& grid, const std::vector<RouteStep>& route, const BusMeasures& bus,
                    const DrivingStyle& style);

    // The keys (virtual-key codes) to press before the next frame.
    std::vector<int> KeysFor(const BusPose& pose);
    // True once the bus has stopped in the goal and the driver has shifted to neutral.
    bool Done() const { return phase_ == Phase::Done; }

private:
    enum class Phase { ShiftUp, Drive, Stopping, Done };

    struct Nearest {
        double along;
        double offsetLeft;  // how far the rear axle is left of the line
        double heading;     // of the line there, in the game's convention
        double curvature;   // positive to the left
    };

    Nearest NearestOnLine(const BusPose& pose);
    double WantedSteeringDeg(const BusPose& pose, const Nearest& near) const;
    double WantedSpeed(double along) const;
    int SteeringKey(double wantedDeg);
    int SpeedKey(double wantedSpeed, double speed) const;

    BusMeasures bus_;
    DrivingStyle style_;
    LanePath path_;
    std::vector<std::pair<double, double>> turns_;  // arc lengths where each turn begins and ends
    double stopAt_ = 0;                             // arc length where the rear axle comes to rest
    std::size_t piece_ = 0;                         // the piece the bus was last nearest to
    int steerDeg_ = 0;
    double steerCarry_ = 0;  // steering asked for but not yet given, in degrees
    Phase phase_ = Phase::ShiftUp;
};
