#include "maptool/drive_session.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "bus/bus.h"
#include "course/course_map.h"
#include "maptool/headless_game.h"
#include "platform/clock.h"
#include "platform/surface.h"
#include "shared/globals.h"

namespace fs = std::filesystem;

namespace {

// Wall-clock seconds follow the frames, so the stopwatch reads the same on every run.
class FrameClock : public ClockSource {
public:
    bool PerformanceFrequency(std::int64_t& ticksPerSecond) override {
        ticksPerSecond = 1000;
        return true;
    }
    std::int64_t PerformanceCounter() override { return frame * 1000 / DriveFramesPerSecond; }
    std::uint32_t MillisecondClock() override {
        return static_cast<std::uint32_t>(frame * 1000 / DriveFramesPerSecond);
    }
    std::int64_t WallSeconds() override { return 1700000000 + frame / DriveFramesPerSecond; }
    long frame = 0;
};

// Installed for the life of the object, so no early return leaves it behind.
class ScopedFrameClock {
public:
    explicit ScopedFrameClock(FrameClock& clock) { SetClockForTest(&clock); }
    ~ScopedFrameClock() { SetClockForTest(nullptr); }
};

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

// TMPDIR (or the system's own choice) first, /tmp when that cannot hold a new folder.
std::vector<fs::path> TemporaryPlaces() {
    std::vector<fs::path> places;
    std::error_code error;
    fs::path system = fs::temp_directory_path(error);
    if (!error && system != "/tmp") places.push_back(system);
    places.push_back("/tmp");
    return places;
}

}  // namespace

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

DriveResult DriveCourse(const CourseGrid& grid, const std::vector<RouteStep>& route, int course, int busType,
                        const DrivingStyle& style, const DriveOptions& options) {
    FrameClock clock;
    ScopedFrameClock installed(clock);
    DriveResult result;
    HeadlessGame game;
    if (!game.Start()) return result;
    game.EnterCourse(course, busType);
    DriveController driver(grid, route, game.Measures(), style);
    for (long frame = 0; frame < options.frameLimit && game.Driving(); ++frame) {
        clock.frame = frame;
        if (frame > 0) {
            for (int key : driver.KeysFor(game.Pose())) {
                result.presses.push_back({frame, key});
                game.Press(key);
            }
        }
        if (!game.Driving()) break;
        if (options.quick) {
            game.QuickFrame();
        } else {
            game.Frame();
        }
        if (options.verbose && game.Driving()) PrintFrame(frame, game.Pose());
        if (driver.Done()) break;
    }
    result.end = EndOf(game, driver);
    result.frames = game.DriveFrames();
    result.violations = game.ViolationFrames();
    result.penalty = game.PenaltySeconds();
    result.seconds = game.DrivingSeconds();
    game.DriverCell(result.endCellX, result.endCellY);
    return result;
}

BusMeasures MeasuresOf(int busType) {
    HeadlessGame probe;
    probe.Start();
    bus->busType = busType;
    bus->Setup();
    return probe.Measures();
}

void WriteStandInPictures() {
    auto ensure = [](const std::string& name, int width, int height) {
        if (!fs::exists(name + ".bmp")) Surface::Create(width, height)->SaveBmp(name + ".bmp");
    };
    for (int tile = 0; tile < 24; ++tile) ensure(std::to_string(tile), 128, 128);
    for (const char* name : {"front", "back", "gear", "alarm", "discontinue", "goalin", "menu1", "number", "menu2"})
        ensure(name, 640, 480);
}

std::string NewDriveFolder(std::string& reason) {
    reason.clear();
    for (const fs::path& place : TemporaryPlaces()) {
        std::string pattern = (place / "quonfel-drive-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            reason += (reason.empty() ? "cannot make a temporary folder in " : ", nor in ") + place.string() +
                      " (" + std::strerror(errno) + ")";
            continue;
        }
        std::error_code error;
        fs::path previous = fs::current_path(error);
        fs::current_path(pattern, error);
        if (!error) WriteStandInPictures();
        fs::current_path(previous, error);
        return pattern;
    }
    return "";
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
