#include "maptool/drive_controller.h"

#include <algorithm>
#include <cmath>

#include "platform/messages.h"

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double Tile = 128.0;
constexpr double LaneMiddle = 44.0;  // rear axle's distance from the road's left edge, as placed at the start
constexpr double RadToDeg = 180.0 / Pi;
constexpr double EaseBack = 72.0;  // pixels after a turn in which the line returns to the lane middle

struct Vec {
    double x;
    double y;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::hypot(a.x, a.y); }
// The direction on the left of u, with y growing downwards.
Vec LeftOf(Vec u) { return {u.y, -u.x}; }

Vec Direction(int side) { return {static_cast<double>(StepOf(side).dx), static_cast<double>(StepOf(side).dy)}; }

Vec TileCentre(const RouteStep& step) { return {step.x * Tile + Tile / 2, step.y * Tile + Tile / 2}; }

// The point of the lane for travel direction u that lies `along` pixels past the tile centre,
// `inset` pixels from the road's left edge.
Vec OnLane(Vec tileCentre, Vec u, double inset, double along) {
    return tileCentre + u * along + LeftOf(u) * (Tile / 2 - inset);
}

// The game's heading of a direction of travel.
double HeadingOf(Vec t) { return std::atan2(-t.x, -t.y); }

double Wrap(double angle) {
    while (angle > Pi) angle -= 2 * Pi;
    while (angle < -Pi) angle += 2 * Pi;
    return angle;
}

PathPiece Line(Vec from, Vec to) {
    PathPiece piece{};
    piece.arc = false;
    piece.x0 = from.x, piece.y0 = from.y, piece.x1 = to.x, piece.y1 = to.y;
    piece.length = Length(to - from);
    return piece;
}

Vec StartOf(const PathPiece& piece) {
    if (!piece.arc) return {piece.x0, piece.y0};
    return {piece.cx + piece.radius * std::cos(piece.a0), piece.cy + piece.radius * std::sin(piece.a0)};
}

Vec EndOf(const PathPiece& piece) {
    if (!piece.arc) return {piece.x1, piece.y1};
    double a = piece.a0 + piece.sweep;
    return {piece.cx + piece.radius * std::cos(a), piece.cy + piece.radius * std::sin(a)};
}

// The arc of a turn from travel direction u to w in the tile around centre: tangent to the
// lane line coming in and the one going out.
PathPiece TurnArc(Vec centre, Vec u, Vec w, const TurnLine& turn) {
    Vec n1 = LeftOf(u), n2 = LeftOf(w);
    double k1 = Dot(centre, n1) + Tile / 2 - turn.inset;
    double k2 = Dot(centre, n2) + Tile / 2 - turn.outset;
    double r = turn.radius;
    Vec c = n1 * (k1 + r * Dot(w, n1)) + n2 * (k2 - r * Dot(u, n2));
    Vec from = c - w * r, to = c + u * r;
    PathPiece piece{};
    piece.arc = true;
    piece.cx = c.x, piece.cy = c.y, piece.radius = r;
    piece.a0 = std::atan2(from.y - c.y, from.x - c.x);
    piece.sweep = Wrap(std::atan2(to.y - c.y, to.x - c.x) - piece.a0);
    piece.length = r * std::fabs(piece.sweep);
    return piece;
}

// The nearest point of a piece to p: its arc length within the piece, the direction of travel
// there and the curvature (positive to the left).
struct OnPiece {
    double along;
    Vec point;
    Vec direction;
    double curvature;
};

OnPiece NearestOn(const PathPiece& piece, Vec p) {
    if (!piece.arc) {
        Vec a{piece.x0, piece.y0}, b{piece.x1, piece.y1};
        Vec d = (b - a) * (1.0 / std::max(piece.length, 1e-9));
        double t = std::clamp(Dot(p - a, d), 0.0, piece.length);
        return {t, a + d * t, d, 0.0};
    }
    double angle = std::atan2(p.y - piece.cy, p.x - piece.cx);
    double into = Wrap(angle - piece.a0) / piece.sweep;  // 0 at the start, 1 at the end
    if (into < 0 || into > 1) {
        // Beyond either end: take the nearer end.
        double toStart = Length(p - StartOf(piece)), toEnd = Length(p - EndOf(piece));
        into = toStart <= toEnd ? 0.0 : 1.0;
    }
    double a = piece.a0 + piece.sweep * into;
    double sign = piece.sweep > 0 ? 1.0 : -1.0;
    Vec point{piece.cx + piece.radius * std::cos(a), piece.cy + piece.radius * std::sin(a)};
    Vec direction{-std::sin(a) * sign, std::cos(a) * sign};
    // With y growing downwards a negative sweep turns left.
    return {into * piece.length, point, direction, -sign / piece.radius};
}

}  // namespace

DrivingStyle StyleFor(const BusMeasures& bus) {
    DrivingStyle style;
    // The outer front wheel runs on a circle round the same centre as the rear axle; the
    // radius grows until that circle keeps clear of the wall ahead.
    TurnLine& wide = style.right;
    double wheelSide = bus.halfWidth - 1;
    for (double r = 60; r < 400; r += 1) {
        double wheelRadius = std::hypot(r + wheelSide, static_cast<double>(bus.wheelbase));
        if (wide.outset + r - wheelRadius >= 29.5) {
            wide.radius = r;
            break;
        }
    }
    return style;
}

LanePath LaneLine(const CourseGrid& grid, const std::vector<RouteStep>& route, const DrivingStyle& style) {
    LanePath path;
    if (route.empty()) return path;
    Vec u0 = Direction(route[0].outSide);
    Vec cursor = OnLane(TileCentre(route[0]), u0, LaneMiddle, -Tile / 2);
    auto add = [&path](const PathPiece& piece) {
        if (piece.length < 1e-6) return;
        path.pieces.push_back(piece);
        path.length += piece.length;
    };
    // After each turn the line eases back to the middle of the lane, and it runs along the
    // middle through the goal, so the bus stops straight in the goal box.
    auto backToLane = [&](Vec to) {
        Vec ahead = to - cursor;
        if (Length(ahead) > 1e-6) add(Line(cursor, to));
        cursor = to;
    };
    std::size_t firstGoal = route.size();
    while (firstGoal > 0 && IsGoalCode(grid.At(route[firstGoal - 1].x, route[firstGoal - 1].y))) --firstGoal;
    for (std::size_t i = 0; i < route.size(); ++i) {
        const RouteStep& step = route[i];
        if (i == firstGoal && step.inSide != NoSide) {
            Vec u = Direction(step.inSide ^ 1);
            Vec goalEntry = OnLane(TileCentre(step), u, LaneMiddle, -Tile / 2);
            if (Dot(goalEntry - cursor, u) > 0) backToLane(goalEntry);
        }
        if (step.inSide == NoSide || step.outSide == NoSide || step.inSide == (step.outSide ^ 1)) continue;
        Vec u = Direction(step.inSide ^ 1), w = Direction(step.outSide);
        bool left = Dot(w, LeftOf(u)) > 0;
        const TurnLine& line = left ? style.left : style.right;
        PathPiece arc = TurnArc(TileCentre(step), u, w, line);
        add(Line(cursor, StartOf(arc)));
        add(arc);
        cursor = EndOf(arc);
        // Back to the middle of the lane a little way on, unless another turn comes first.
        Vec settled = cursor + w * EaseBack;
        Vec middle = OnLane(TileCentre(step), w, LaneMiddle, 0);
        settled = settled + LeftOf(w) * Dot(middle - settled, LeftOf(w));
        bool roomBeforeNext = true;
        for (std::size_t j = i + 1; j < route.size(); ++j) {
            const RouteStep& next = route[j];
            if (next.outSide == NoSide || next.inSide == (next.outSide ^ 1)) continue;
            Vec nextCentre = TileCentre(next);
            roomBeforeNext = Dot(nextCentre - settled, w) > Tile / 2 + 16;
            break;
        }
        if (roomBeforeNext) backToLane(settled);
    }
    const RouteStep& last = route.back();
    Vec u = Direction(last.inSide ^ 1);
    // On past the last tile, so the line never ends under the bus.
    add(Line(cursor, OnLane(TileCentre(last), u, LaneMiddle, Tile / 2 + Tile)));
    return path;
}

DriveController::DriveController(const CourseGrid& grid, const std::vector<RouteStep>& route, const BusMeasures& bus,
                                 const DrivingStyle& style)
    : bus_(bus), style_(style), path_(LaneLine(grid, route, style)) {
    double along = 0;
    for (const PathPiece& piece : path_.pieces) {
        if (piece.arc) turns_.push_back({along, along + piece.length});
        along += piece.length;
    }
    // Come to rest with the body in the middle of the goal's row of tiles.
    std::size_t firstGoal = route.size();
    while (firstGoal > 0 && IsGoalCode(grid.At(route[firstGoal - 1].x, route[firstGoal - 1].y))) --firstGoal;
    double goalTiles = static_cast<double>(route.size() - firstGoal);
    // The line ends one tile beyond the goal's row of tiles.
    double goalEnd = path_.length - Tile;
    double middle = goalEnd - goalTiles * Tile / 2;
    stopAt_ = middle - (bus.wheelbase + bus.frontOverhang - bus.rearOverhang) / 2.0;
}

DriveController::Nearest DriveController::NearestOnLine(const BusPose& pose) {
    Vec p{pose.x, pose.y};
    double best = 1e18;
    Nearest nearest{};
    std::size_t last = std::min(path_.pieces.size(), piece_ + 3);
    double before = 0;
    for (std::size_t i = 0; i < piece_; ++i) before += path_.pieces[i].length;
    std::size_t bestPiece = piece_;
    for (std::size_t i = piece_; i < last; ++i) {
        OnPiece on = NearestOn(path_.pieces[i], p);
        double distance = Length(p - on.point);
        if (distance < best - 1e-9) {
            best = distance;
            bestPiece = i;
            nearest = {before + on.along, Dot(p - on.point, LeftOf(on.direction)), HeadingOf(on.direction),
                       on.curvature};
        }
        before += path_.pieces[i].length;
    }
    piece_ = bestPiece;
    return nearest;
}

double DriveController::WantedSteeringDeg(const BusPose& pose, const Nearest& near) const {
    double l = style_.settleLength;
    double headingError = Wrap(pose.heading - near.heading);
    double curvature = near.curvature - near.offsetLeft / (l * l) - 2.0 * std::sin(headingError) / l;
    double steer = std::atan(bus_.wheelbase * curvature) * RadToDeg;
    double limit = bus_.maxSteerDeg;
    return std::clamp(steer, -limit, limit);
}

double DriveController::WantedSpeed(double along) const {
    double wanted = style_.cruiseSpeed;
    for (const auto& turn : turns_) {
        if (along > turn.first - 48 && along < turn.second) wanted = style_.turnSpeed;
    }
    // Brake gently enough to stop on the mark.
    double braking = std::sqrt(std::max(0.0, 2 * 0.05 * (stopAt_ - along)));
    return std::max(0.4, std::min(wanted, braking));
}

int DriveController::SpeedKey(double wantedSpeed, double speed) const {
    struct Step {
        int key;
        double change;
    };
    static const Step steps[] = {{'W', 0.4}, {'S', 0.3}, {'X', 0.2}, {'Q', -0.7}, {'A', -0.5}, {'Z', -0.3}};
    double difference = wantedSpeed - speed;
    if (std::fabs(difference) < 0.15) return 0;
    int best = 0;
    double bestMiss = std::fabs(difference);
    for (const Step& step : steps) {
        double miss = std::fabs(difference - step.change);
        if (miss < bestMiss - 1e-9) {
            bestMiss = miss;
            best = step.key;
        }
    }
    return best;
}

int DriveController::SteeringKey(double wantedDeg) {
    struct Step {
        int key;
        int change;
    };
    static const Step steps[] = {{'U', 16}, {'H', 8}, {'J', 4}, {'I', -16}, {'L', -8}, {'K', -4}};
    // The wheels turn in steps of 4 degrees; what a step cannot give now is carried over, so on
    // average the steering is what the line asks for.
    double asked = wantedDeg + steerCarry_;
    int best = 0, chosen = steerDeg_;
    double bestMiss = std::fabs(asked - steerDeg_);
    for (const Step& step : steps) {
        int next = std::clamp(steerDeg_ + step.change, -bus_.maxSteerDeg, bus_.maxSteerDeg);
        double miss = std::fabs(asked - next);
        if (miss < bestMiss - 1e-9) {
            bestMiss = miss;
            best = step.key;
            chosen = next;
        }
    }
    if (chosen == 0 && steerDeg_ != 0 && std::abs(steerDeg_) <= 16) {
        int size = std::abs(steerDeg_);
        best = size <= 4 ? VK_NUMPAD0 + 2 : size <= 8 ? VK_NUMPAD0 + 5 : VK_NUMPAD0 + 8;
    }
    steerCarry_ = std::clamp(asked - chosen, -4.0, 4.0);
    return best;
}

std::vector<int> DriveController::KeysFor(const BusPose& pose) {
    std::vector<int> keys;
    steerDeg_ = static_cast<int>(std::lround(pose.steering * RadToDeg));
    switch (phase_) {
    case Phase::ShiftUp:
        keys.push_back(VK_UP);
        phase_ = Phase::Drive;
        break;
    case Phase::Drive: {
        Nearest near = NearestOnLine(pose);
        if (int key = SteeringKey(WantedSteeringDeg(pose, near))) keys.push_back(key);
        if (stopAt_ - near.along > std::max(pose.speed * 0.5, 0.3)) {
            if (int key = SpeedKey(WantedSpeed(near.along), pose.speed)) keys.push_back(key);
            break;
        }
        phase_ = Phase::Stopping;
        [[fallthrough]];
    }
    case Phase::Stopping:
        if (pose.speed > 0) {
            keys.push_back('Q');
        } else {
            keys.push_back(VK_DOWN);
            phase_ = Phase::Done;
        }
        break;
    case Phase::Done:
        break;
    }
    return keys;
}
