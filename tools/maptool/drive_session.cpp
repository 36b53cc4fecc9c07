#include "maptool/drive_session.h"

#include <cstdio>

#include "bus/bus.h"
#include "course/course_map.h"
#include "course/map_bytes.h"
#include "platform/clock.h"
#include "shared/outside_text.h"
#include "shared/globals.h"

namespace {

const char* RuleBroken() {
    bool lane = courseMap->CheckLane() == 1;
    bool wall = courseMap->CheckWallContact() == 1;
    return lane && wall ? "lane+wall" : lane ? "lane" : wall ? "wall" : "?";
}

void PrintFrame(long frame, const BusPose& p) {
    constexpr double Degrees = 57.29577951308232;
    std::printf("%ld x=%.1f y=%.1f h=%.1f v=%.1f st=%.0f vc=%d%s%s\n", frame, p.x, p.y, p.heading * Degrees, p.speed,
                p.steering * Degrees, courseMap->violationCount, courseMap->violationCount > 0 ? " " : "",
                courseMap->violationCount > 0 ? RuleBroken() : "");
}

DriveEnd EndOf(const HeadlessGame& game, const DriveController& driver) {
    if (game.GoalReached()) return DriveEnd::Goal;
    if (!game.Driving()) return DriveEnd::Crash;
    return driver.Done() ? DriveEnd::NotTaken : DriveEnd::OutOfTime;
}

// The bus type set up now.
BusMeasures MeasuresNow() {
    const BusGeometry& g = busGeometry;
    return {g.wheelbase, g.frontOverhang, g.rearOverhang, g.halfWidth, maxSteerDeg};
}

std::string Seconds(long frames) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(frames) / DriveFramesPerSecond);
    return text;
}

std::string Where(const CourseGrid& grid, const DriveResult& result) {
    if (!InGrid(grid, result.endCellX, result.endCellY))
        return "off the course (x=" + std::to_string(result.endCellX) + ", y=" + std::to_string(result.endCellY) + ")";
    return "at " + CellName(result.endCellX, result.endCellY);
}

// How the drive ended, in words.
std::string Verdict(const CourseGrid& grid, const DriveResult& result) {
    switch (result.end) {
    case DriveEnd::Goal:
        return "goal";
    case DriveEnd::Crash:
        return "no goal: discontinued " + Where(grid, result) +
               " (part of the bus deep in a wall or off the course)";
    case DriveEnd::NotTaken:
        return "no goal: the driver stopped " + Where(grid, result) +
               " and shifted to neutral, but the game saw no goal-in (the bus not wholly in the goal box, "
               "or a rule broken)";
    case DriveEnd::OutOfTime:
        return "no goal: still driving " + Where(grid, result) + " when ten minutes were up";
    case DriveEnd::NotStarted:
        break;
    }
    return "no goal: the game could not start";
}

}  // namespace

std::string DriveSummary(const std::string& path, int busType, const CourseGrid& grid, const DriveResult& result) {
    // Also the first comment line of a key file: a line break in the name must not end it.
    return Printable(path) + ", " + DriveOutcome(busType, grid, result);
}

std::string DriveOutcome(int busType, const CourseGrid& grid, const DriveResult& result) {
    return "bus type " + std::to_string(busType) + ": " + Verdict(grid, result) + " after " +
           std::to_string(result.frames) + " frames (" + Seconds(result.frames) + " at " +
           std::to_string(DriveFramesPerSecond) + " frames a second), penalty " + std::to_string(result.penalty) +
           " s, " + std::to_string(result.violations) + (result.violations == 1 ? " frame" : " frames") +
           " breaking a rule";
}

bool DriveResult::BetterThan(const DriveResult& other) const {
    if (Goal() != other.Goal()) return Goal();
    if (violations != other.violations) return violations < other.violations;
    return frames < other.frames;
}

// The game places the bus on the last start code it reads, so the route starts there too.
std::vector<RouteStep> RouteFromStart(const CourseGrid& grid) {
    int startX = -1, startY = -1;
    for (int x = 0; x < grid.xCount; ++x)
        for (int y = 0; y < grid.yCount; ++y)
            if (IsStartCode(grid.At(x, y))) startX = x, startY = y;
    return startX < 0 ? std::vector<RouteStep>{} : PlanRoute(grid, startX, startY);
}

DriveRun::DriveRun(const CourseGrid& grid, const std::vector<RouteStep>& route, int course, int busType,
                   const DrivingStyle& style, const DriveOptions& options)
    : options_(options) {
    FakeClock clock;  // at the drive's first second
    game_.KeepNoRecords();
    if (options.gridGiven) game_.GiveCourse(course, EncodeMapFile(grid));
    over_ = !game_.Start();
    if (over_) return;
    game_.EnterCourse(course, busType);
    driver_ = std::make_unique<DriveController>(grid, route, MeasuresNow(), style);
    if (!game_.Driving() || options_.frameLimit <= 0) Finish();
}

bool DriveRun::Step() {
    if (over_) return false;
    FakeClock clock;
    clock.wallSeconds += frame_ / DriveFramesPerSecond;
    if (frame_ > 0) {
        for (int key : driver_->KeysFor(game_.Pose())) {
            result_.presses.push_back({frame_, key});
            game_.Press(key);
        }
    }
    if (game_.Driving()) {
        if (options_.quick) {
            game_.QuickFrame();
        } else {
            game_.Frame();
        }
        if (options_.verbose && game_.Driving()) PrintFrame(frame_, game_.Pose());
    }
    ++frame_;
    if (!game_.Driving() || driver_->Done() || frame_ >= options_.frameLimit) Finish();
    return !over_;
}

void DriveRun::Finish() {
    over_ = true;
    result_.end = EndOf(game_, *driver_);
    result_.frames = game_.DriveFrames();
    result_.violations = game_.ViolationFrames();
    result_.penalty = game_.PenaltySeconds();
    result_.seconds = game_.DrivingSeconds();
    game_.DriverCell(result_.endCellX, result_.endCellY);
}

DriveResult DriveCourse(const CourseGrid& grid, const std::vector<RouteStep>& route, int course, int busType,
                        const DrivingStyle& style, const DriveOptions& options) {
    DriveRun run(grid, route, course, busType, style, options);
    while (run.Step()) {
    }
    return run.Result();
}

std::unique_ptr<DriveRun> DriveOfHeldCourse(const CourseGrid& grid, int busType) {
    DriveOptions given;
    given.gridGiven = true;
    return std::make_unique<DriveRun>(grid, RouteFromStart(grid), 0, busType, StyleFor(MeasuresOf(busType)), given);
}

// Set up as the game sets up the bus before a drive.
BusMeasures MeasuresOf(int busType) {
    Bus probe;
    probe.busType = busType;
    probe.Setup();
    return MeasuresNow();
}

const char* DriveEndName(DriveEnd end) {
    switch (end) {
    case DriveEnd::Goal: return "goal";
    case DriveEnd::Crash: return "crash";
    case DriveEnd::NotTaken: return "goal not taken";
    case DriveEnd::OutOfTime: return "out of time";
    case DriveEnd::NotStarted: return "not started";
    }
    return "?";
}
