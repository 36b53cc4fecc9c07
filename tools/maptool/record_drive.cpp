// quonfel-record-drive: lets the route-following driver take a bus type over a course in the
// real game, headless, and writes the keys it pressed as a recorded drive.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "course/course_map.h"
#include "maptool/drive_session.h"
#include "maptool/map_file.h"
#include "platform/text_file.h"
#include "shared/game_folder.h"

namespace {

bool ReadGrid(const std::string& path, CourseGrid& grid) {
    std::vector<std::uint8_t> bytes;
    if (ReadOutsideFile(path, kLargestMapFile, bytes) != OutsideFile::Read) return false;
    int version = 0;
    std::vector<std::string> problems;
    return DecodeMapFile(bytes, grid, version, problems) && problems.empty();
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
    std::string gameDir = argv[1];
    int course = std::atoi(argv[2]);
    int busType = std::atoi(argv[3]);
    std::string out = argc > 4 ? argv[4] : "";
    bool verbose = std::getenv("QUONFEL_DRIVE_VERBOSE") != nullptr;
    bool search = std::getenv("QUONFEL_DRIVE_SEARCH") != nullptr;

    CourseGrid grid;
    SetGameFolder(gameDir);  // the course and the pictures; the drives keep no records there
    if (!ReadGrid(InGameFolder(std::to_string(course) + ".map"), grid)) {
        std::cerr << "cannot read course " << course << "\n";
        return 2;
    }
    std::vector<RouteStep> route = RouteFromStart(grid);
    if (verbose) {
        for (const RouteStep& step : route) std::printf("(%d,%d)%s ", step.x, step.y, SymbolOf(grid.At(step.x, step.y)).c_str());
        std::printf("\n");
    }

    DrivingStyle base = StyleFor(MeasuresOf(busType));
    if (const char* r = std::getenv("QUONFEL_RIGHT_RADIUS")) base.right.radius = std::atof(r);
    if (const char* o = std::getenv("QUONFEL_RIGHT_OUTSET")) base.right.outset = std::atof(o);
    if (const char* i = std::getenv("QUONFEL_RIGHT_INSET")) base.right.inset = std::atof(i);
    if (const char* l = std::getenv("QUONFEL_SETTLE")) base.settleLength = std::atof(l);

    DrivingStyle bestStyle = base;
    DriveOptions first;
    first.verbose = verbose;
    first.quick = std::getenv("QUONFEL_DRIVE_QUICK") != nullptr;
    DriveOptions trial;
    trial.quick = true;
    DriveResult best = DriveCourse(grid, route, course, busType, base, first);
    if (search && (!best.Goal() || best.violations > 0)) {
        for (double settle : {24.0, 16.0, 32.0}) {
            for (double outset : {49.0, 48.0, 50.0, 47.0, 46.0}) {
                for (double radius : {110.0, 100.0, 120.0, 90.0, 130.0, 80.0, 150.0}) {
                    DrivingStyle style = base;
                    style.settleLength = settle;
                    style.right.outset = outset;
                    style.right.radius = radius;
                    DriveResult tried = DriveCourse(grid, route, course, busType, style, trial);
                    if (tried.BetterThan(best)) {
                        best = tried;
                        bestStyle = style;
                    }
                    if (best.Goal() && best.violations == 0) break;
                }
                if (best.Goal() && best.violations == 0) break;
            }
            if (best.Goal() && best.violations == 0) break;
        }
    }
    if (search) best = DriveCourse(grid, route, course, busType, bestStyle);  // recorded with whole frames

    std::printf("course %d bus %d: %s after %ld frames, %ld frames breaking a rule, driving %d s, penalty %d s (%s)\n",
                course, busType, DriveEndName(best.end), best.frames, best.violations, best.seconds, best.penalty,
                Describe(bestStyle).c_str());
    if (!out.empty() && best.Goal()) {
        DriveRecord drive;
        drive.course = course;
        drive.busType = busType;
        drive.hasCourseHash = HashCourseFile(InGameFolder(std::to_string(course) + ".map"), drive.courseHash);
        drive.drivingSeconds = best.seconds;
        drive.penaltySeconds = best.penalty;
        drive.scoreSeconds = best.seconds + best.penalty;
        drive.presses = best.presses;
        std::ofstream file(out, std::ios::trunc);
        file << FormatDrive({"Recorded drive of course " + std::to_string(course) + " with bus type " +
                                 std::to_string(busType) + ": goal after " + std::to_string(best.frames) +
                                 " frames, penalty " + std::to_string(best.penalty) + " s.",
                             "Driven by quonfel-record-drive (" + Describe(bestStyle) + ").",
                             "Each key line: the frame (0 places the bus) and the key pressed before it."},
                            drive);
    }
    return best.Goal() ? 0 : 1;
}
