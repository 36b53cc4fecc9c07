// One drive of the route-following driver through the real game, headless: the frames and
// the stopwatch follow a clock of whole frames, so a drive comes out the same on every run.
// The game reads its pictures (and the courses it is not given) in the game folder and keeps
// no records. Shared by quonfel-map drive, the editor's test drive and the tool that records
// the shipped drives.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "maptool/course_route.h"
#include "maptool/drive_controller.h"
#include "maptool/map_text.h"
#include "replays/drive_keys.h"

constexpr long DriveFramesPerSecond = 30;
// A drive still going after ten minutes is given up.
constexpr long DriveFrameLimit = DriveFramesPerSecond * 60 * 10;

// How a drive ended.
enum class DriveEnd {
    Goal,         // stopped in the goal box and shifted to neutral: the game took it
    Crash,        // the game discontinued it: part of the bus deep in a wall or off the course
    NotTaken,     // the driver stopped and shifted to neutral, but the game saw no goal-in
    OutOfTime,    // still driving when the frame limit came
    NotStarted,   // the game could not start
};

struct DriveResult {
    std::vector<KeyPress> presses;
    DriveEnd end = DriveEnd::NotStarted;
    long frames = 0;      // driving frames, the first (which places the bus) included
    long violations = 0;  // frames in which a rule was broken
    int penalty = 0;      // the stopwatch's penalty seconds
    int seconds = 0;      // the stopwatch's driving seconds
    int endCellX = 0;     // the cell of the driver's seat when the drive ended
    int endCellY = 0;

    bool Goal() const { return end == DriveEnd::Goal; }
    // Better: a goal, then fewer frames breaking a rule, then a shorter drive.
    bool BetterThan(const DriveResult& other) const;
};

struct DriveOptions {
    long frameLimit = DriveFrameLimit;
    bool verbose = false;    // print every frame
    bool quick = false;      // skip the pictures while trying many drives (HeadlessGame::QuickFrame)
    bool gridGiven = false;  // the game drives the grid itself, not "N.map" of the game folder
};

// The route from the course's start (the last start code in file order, where the game places
// the bus) into its goal; empty when there is none (or no start).
std::vector<RouteStep> RouteFromStart(const CourseGrid& grid);

// One drive taken a frame at a time: the game starts on course with a bus type from the course
// menu, and each step gives the driver's keys and one frame. The game's clock, whose seconds
// follow the frames, is the clock in use during each step only.
class DriveRun {
public:
    DriveRun(const CourseGrid& grid, const std::vector<RouteStep>& route, int course, int busType,
             const DrivingStyle& style, const DriveOptions& options = {});
    // One frame; false once the drive is over (then it does nothing).
    bool Step();
    // How it went, once over.
    const DriveResult& Result() const { return result_; }
    // The bus body as the last frame drew it, in course pixels.
    std::vector<Point> BodyOutline() const { return game_.BodyOutline(); }
    BusPose Pose() const { return game_.Pose(); }

private:
    void Finish();
    HeadlessGame game_;
    std::unique_ptr<DriveController> driver_;
    DriveOptions options_;
    DriveResult result_;
    long frame_ = 0;
    bool over_ = false;
};

// Drives course the same way in one go, and says how it went.
DriveResult DriveCourse(const CourseGrid& grid, const std::vector<RouteStep>& route, int course, int busType,
                        const DrivingStyle& style, const DriveOptions& options = {});

// quonfel-map drive and the editor's test drive: the course the tool holds, given to the game
// as course 0 without a file, driven from its start in the style that suits the bus.
std::unique_ptr<DriveRun> DriveOfHeldCourse(const CourseGrid& grid, int busType);

// The line quonfel-map drive prints: the course as named, the bus type, how the drive ended
// and where, the frames, the time at 30 frames a second and the penalty.
std::string DriveSummary(const std::string& path, int busType, const CourseGrid& grid, const DriveResult& result);
// The same without the course's name.
std::string DriveOutcome(int busType, const CourseGrid& grid, const DriveResult& result);

// The measures of a bus type, as the game sets it up.
BusMeasures MeasuresOf(int busType);

// "goal", "crash", ...: a word for how a drive ended.
const char* DriveEndName(DriveEnd end);
