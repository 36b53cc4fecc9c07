// quonfel-record-drive: lets the route-following driver take a bus type over a course in the
// real game, headless, and writes the keys it pressed as a recorded drive.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "bus/bus.h"
#include "course/course_map.h"
#include "app/globals.h"
#include "maptool/course_route.h"
#include "maptool/drive_controller.h"
#include "maptool/drive_keys.h"
#include "maptool/headless_game.h"
#include "maptool/map_file.h"
#include "platform/clock.h"
#include "platform/surface.h"

namespace fs = std::filesystem;

namespace {

constexpr long FramesPerSecond = 30;
constexpr long FrameLimit = FramesPerSecond * 60 * 10;

// Wall-clock seconds follow the frames, so the stopwatch reads the same on every run.
class FrameClock : public ClockSource {
public:
    bool PerformanceFrequency(std::int64_t& ticksPerSecond) override {
        ticksPerSecond = 1000;
        return true;
    }
    std::int64_t PerformanceCounter() override { return frame * 1000 / FramesPerSecond; }
    std::uint32_t MillisecondClock() override { return static_cast<std::uint32_t>(frame * 1000 / FramesPerSecond); }
    std::int64_t WallSeconds() override { return 1700000000 + frame / FramesPerSecond; }
    long frame = 0;
};

// A working folder with the game's files; plain pictures stand in for bitmaps not made yet,
// since the course rules never read pixels.
std::string PrepareFolder(const std::string& gameDir) {
    std::string pattern = (fs::temp_directory_path() / "quonfel-drive-XXXXXX").string();
    std::string folder = mkdtemp(pattern.data());
    for (const auto& entry : fs::directory_iterator(gameDir)) {
        auto ext = entry.path().extension();
        if (ext == ".bmp" || ext == ".map") fs::create_symlink(fs::absolute(entry.path()), folder / entry.path().filename());
    }
    const char* singles[] = {"front", "back", "gear", "alarm", "discontinue", "goalin", "menu1", "number", "menu2"};
    auto ensure = [&](const std::string& name, int w, int h) {
        fs::path path = fs::path(folder) / (name + ".bmp");
        if (!fs::exists(path)) Surface::Create(w, h)->SaveBmp(path.string());
    };
    for (int n = 0; n < 24; ++n) ensure(std::to_string(n), 128, 128);
    for (const char* name : singles) ensure(name, 640, 480);
    return folder;
}

bool ReadGrid(const std::string& path, CourseGrid& grid) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int version = 0;
    std::vector<std::string> problems;
    return DecodeMapFile(bytes, grid, version, problems) && problems.empty();
}

const char* RuleBroken() {
    bool lane = courseMap->CheckLane() == 1;
    bool wall = courseMap->CheckWallContact() == 1;
    return lane && wall ? "lane+wall" : lane ? "lane" : wall ? "wall" : "?";
}

struct DriveResult {
    std::vector<KeyPress> presses;
    bool goal = false;
    bool crashed = false;
    long frames = 0;
    long violations = 0;
    int penalty = 0;
    int seconds = 0;

    // Better: a goal, then fewer frames breaking a rule, then a shorter drive.
    bool BetterThan(const DriveResult& other) const {
        if (goal != other.goal) return goal;
        if (violations != other.violations) return violations < other.violations;
        return frames < other.frames;
    }
};

DriveResult RunDrive(const CourseGrid& grid, const std::vector<RouteStep>& route, int course, int busType,
                     const DrivingStyle& style, bool verbose, bool quick = false) {
    FrameClock clock;
    SetClockForTest(&clock);
    DriveResult result;
    {
        HeadlessGame game;
        if (!game.Start()) {
            std::cerr << "the game could not start\n";
            std::exit(2);
        }
        game.EnterCourse(course, busType);
        DriveController driver(grid, route, game.Measures(), style);
        for (long frame = 0; frame < FrameLimit && game.Driving(); ++frame) {
            clock.frame = frame;
            if (frame > 0) {
                for (int key : driver.KeysFor(game.Pose())) {
                    result.presses.push_back({frame, key});
                    game.Press(key);
                }
            }
            if (!game.Driving()) break;
            if (quick) {
                game.QuickFrame();
            } else {
                game.Frame();
            }
            if (verbose && game.Driving()) {
                BusPose p = game.Pose();
                std::printf("%ld x=%.1f y=%.1f h=%.1f v=%.1f st=%.0f vc=%d%s%s\n", frame, p.x, p.y,
                            p.heading * 57.29577951308232, p.speed, p.steering * 57.29577951308232,
                            courseMap->violationCount, courseMap->violationCount > 0 ? " " : "",
                            courseMap->violationCount > 0 ? RuleBroken() : "");
            }
            if (driver.Done()) break;
        }
        result.goal = game.GoalReached();
        result.crashed = !result.goal && ScreenState == Result;
        result.frames = game.DriveFrames();
        result.violations = game.ViolationFrames();
        result.penalty = game.PenaltySeconds();
        result.seconds = game.DrivingSeconds();
    }
    SetClockForTest(nullptr);
    return result;
}

std::string Describe(const DrivingStyle& style) {
    char text[160];
    std::snprintf(text, sizeof text, "wide right turns %.0f/%.0f/%.0f, settling %.0f", style.right.inset,
                  style.right.outset, style.right.radius, style.settleLength);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: quonfel-record-drive GAME_DIR COURSE BUS_TYPE [OUT.keys]\n"
                     "  QUONFEL_DRIVE_SEARCH=1 tries several ways of taking the turns and keeps the best\n"
                     "  QUONFEL_DRIVE_VERBOSE=1 prints every frame\n";
        return 2;
    }
    std::string gameDir = fs::absolute(argv[1]).string();
    int course = std::atoi(argv[2]);
    int busType = std::atoi(argv[3]);
    std::string out = argc > 4 ? fs::absolute(argv[4]).string() : "";
    bool verbose = std::getenv("QUONFEL_DRIVE_VERBOSE") != nullptr;
    bool search = std::getenv("QUONFEL_DRIVE_SEARCH") != nullptr;

    CourseGrid grid;
    if (!ReadGrid(gameDir + "/" + std::to_string(course) + ".map", grid)) {
        std::cerr << "cannot read course " << course << "\n";
        return 2;
    }
    int startX = -1, startY = -1;
    for (int x = 0; x < grid.xCount; ++x)
        for (int y = 0; y < grid.yCount; ++y)
            if (IsStartCode(grid.At(x, y))) startX = x, startY = y;
    std::vector<RouteStep> route = PlanRoute(grid, startX, startY);
    if (verbose) {
        for (const RouteStep& step : route) std::printf("(%d,%d)%s ", step.x, step.y, SymbolOf(grid.At(step.x, step.y)).c_str());
        std::printf("\n");
    }

    std::string folder = PrepareFolder(gameDir);
    fs::current_path(folder);
    BusMeasures measures{};
    {
        HeadlessGame probe;
        probe.Start();
        bus->busType = busType;
        bus->Setup();
        measures = probe.Measures();
    }
    DrivingStyle base = StyleFor(measures);
    if (const char* r = std::getenv("QUONFEL_RIGHT_RADIUS")) base.right.radius = std::atof(r);
    if (const char* o = std::getenv("QUONFEL_RIGHT_OUTSET")) base.right.outset = std::atof(o);
    if (const char* i = std::getenv("QUONFEL_RIGHT_INSET")) base.right.inset = std::atof(i);
    if (const char* l = std::getenv("QUONFEL_SETTLE")) base.settleLength = std::atof(l);

    DrivingStyle bestStyle = base;
    DriveResult best = RunDrive(grid, route, course, busType, base, verbose, std::getenv("QUONFEL_DRIVE_QUICK") != nullptr);
    if (search && (!best.goal || best.violations > 0)) {
        for (double settle : {24.0, 16.0, 32.0}) {
            for (double outset : {49.0, 48.0, 50.0, 47.0, 46.0}) {
                for (double radius : {110.0, 100.0, 120.0, 90.0, 130.0, 80.0, 150.0}) {
                    DrivingStyle style = base;
                    style.settleLength = settle;
                    style.right.outset = outset;
                    style.right.radius = radius;
                    DriveResult tried = RunDrive(grid, route, course, busType, style, false, true);
                    if (tried.BetterThan(best)) {
                        best = tried;
                        bestStyle = style;
                    }
                    if (best.goal && best.violations == 0) break;
                }
                if (best.goal && best.violations == 0) break;
            }
            if (best.goal && best.violations == 0) break;
        }
    }
    if (search) best = RunDrive(grid, route, course, busType, bestStyle, false);  // recorded with whole frames
    fs::current_path(gameDir);
    fs::remove_all(folder);

    std::string verdict = best.goal ? "goal" : best.crashed ? "crash" : "no goal";
    std::printf("course %d bus %d: %s after %ld frames, %ld frames breaking a rule, driving %d s, penalty %d s (%s)\n",
                course, busType, verdict.c_str(), best.frames, best.violations, best.seconds, best.penalty,
                Describe(bestStyle).c_str());
    if (!out.empty() && best.goal) {
        std::ofstream file(out, std::ios::trunc);
        file << FormatDrive({"Recorded drive of course " + std::to_string(course) + " with bus type " +
                                 std::to_string(busType) + ": goal after " + std::to_string(best.frames) +
                                 " frames, penalty " + std::to_string(best.penalty) + " s.",
                             "Driven by quonfel-record-drive (" + Describe(bestStyle) + ").",
                             "Each line: the frame (0 places the bus) and the key pressed before it."},
                            best.presses);
    }
    return best.goal ? 0 : 1;
}
