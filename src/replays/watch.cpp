#include "replays/watch.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "course/course_map.h"
#include "course/user_course.h"
#include "platform/messages.h"
#include "platform/text_file.h"
#include "records/stopwatch.h"
#include "replays/drive_keys.h"
#include "replays/drive_recorder.h"
#include "shared/game_folder.h"
#include "shared/globals.h"
#include "shared/outside_text.h"

namespace fs = std::filesystem;

namespace {

struct Watch {
    bool prepared = false;
    bool active = false;
    bool feeding = false;    // the recorded keys are on their way to the window procedure
    bool timesTold = false;
    AfterWatching after = AfterWatching::EndTheGame;
    DriveRecord drive;
    std::string mapFile;     // course 11: the user map to read, as found from the key file
    bool mapStays = false;   // course 11: no 11.map takes the place of mapFile
    std::size_t nextPress = 0;
};
Watch watch;

// Far more than any drive needs: the longest shipped one takes 17 kB.
constexpr std::size_t kLargestKeyFile = 16u << 20;

// The whole key file; empty when it can be read, else why not.
std::string ReadKeyFile(const std::string& path, std::string& text) {
    std::vector<std::uint8_t> bytes;
    const OutsideFile found = ReadOutsideFile(path, kLargestKeyFile, bytes);
    text.assign(bytes.begin(), bytes.end());
    return WhyNotRead(found, "key file", kLargestKeyFile);
}

// A map file named by a relative path lies beside the key file, so that the two can travel
// together.
std::string MapFileOf(const std::string& keyFile, const std::string& mapFile) {
    const fs::path map(mapFile);
    if (map.is_absolute()) return mapFile;
    return (fs::path(keyFile).parent_path() / map).string();
}

bool DrivenOn(const DriveRecord& drive, const std::string& courseFile) {
    std::uint64_t hash = 0;
    return HashDrivenCourse(drive.course, courseFile, hash) && hash == drive.courseHash;
}

// The file the game will read the course from, as a drive from the menu would: "N.map" in
// the game folder, and for the user map the chosen file unless an 11.map there takes its place
// (one the game can read: a regular file). A drive of quonfel --map, on which no 11.map took
// the place, stays on the file it names.
std::string CourseFileToRead(const DriveRecord& drive, const std::string& mapFile) {
    const std::string numbered = InGameFolder(std::to_string(drive.course) + ".map");
    std::error_code unknown;
    if (drive.course != UserMapCourse) return numbered;
    if (!fs::is_regular_file(numbered, unknown)) return mapFile;
    return !DrivenOn(drive, numbered) && DrivenOn(drive, mapFile) ? mapFile : numbered;
}

// A damaged map file would end the game once the window is open; the watch is refused before.
bool MapReadable(const std::string& file, MapReader reader, std::string& what) {
    const std::string problem = reader == MapReader::UserMap ? UserCourseProblem(file) : MapFileProblem(file, reader);
    if (!problem.empty()) what = "the map file " + file + " " + problem;
    return problem.empty();
}

// The drive means something only on the course file it was driven on.
bool SameCourseFile(const DriveRecord& drive, const std::string& courseFile, std::string& what) {
    std::uint64_t hash = 0;
    if (!HashDrivenCourse(drive.course, courseFile, hash)) {
        what = "the course file " + courseFile + " cannot be read";
        return false;
    }
    if (hash == drive.courseHash) return true;
    what = kDrivenOnAnotherCourse + courseFile + " (course hash " + HashText(drive.courseHash) +
           ", the file here has " + HashText(hash) + ")";
    return false;
}

void PrintTimes(const char* who, std::int32_t driving, std::int32_t penalty, std::int32_t score) {
    std::printf("%s driving %" PRId32 " s, penalty %" PRId32 " s, score %" PRId32 " s\n", who, driving, penalty, score);
}

// The original drive's seconds next to what this replay measured, once.
void TellTimes() {
    if (watch.timesTold) return;
    watch.timesTold = true;
    const DriveRecord& drive = watch.drive;
    if (drive.drivingSeconds == kNotRecorded || drive.penaltySeconds == kNotRecorded || drive.scoreSeconds == kNotRecorded)
        std::printf("recorded drive: its times are not in the file\n");
    else
        PrintTimes("recorded drive:", drive.drivingSeconds, drive.penaltySeconds, drive.scoreSeconds);
    const bool ended = stopwatch && courseMap && ScreenState == Result;
    if (!ended) {
        std::printf("this replay:    stopped before the drive ended\n");
    } else {
        PrintTimes(courseMap->goalReached == 1 ? "this replay:   " : "this replay (discontinued):", stopwatch->driveTime,
                   stopwatch->penaltyTime, stopwatch->TotalSeconds());
    }
    std::fflush(stdout);
}

WatchKey StopWatching() {
    TellTimes();
    watch.active = false;
    return watch.after == AfterWatching::EndTheGame ? WatchKey::StopAndEnd : WatchKey::StopToMenu;
}

bool IsStopKey(int key) { return key == VK_RETURN || key == VK_SPACE; }

}  // namespace

bool MissingHeader(const DriveRecord& drive, std::string& what) {
    if (drive.course == kNotRecorded) what = "no course line";
    else if (drive.busType == kNotRecorded) what = "no bus line";
    else if (!drive.hasCourseHash) what = "no course-hash line";
    else if (drive.course == UserMapCourse && drive.mapFile.empty()) what = "no map line for the user map (course 11)";
    return !what.empty();
}

bool ReadCheckedDrive(const std::string& keyFile, DriveRecord& drive, std::string& mapFile, std::string& error) {
    std::string text, what;
    const std::string unread = ReadKeyFile(keyFile, text);
    if (!unread.empty()) {
        error = keyFile + ": " + unread;
        return false;
    }
    if (!ParseDrive(text, drive, what) || MissingHeader(drive, what)) {
        error = keyFile + ": " + what;
        return false;
    }
    mapFile = MapFileOf(keyFile, drive.mapFile);
    const std::string courseFile = CourseFileToRead(drive, mapFile);
    // For course 11 the user map is read even when an 11.map then takes its place.
    const bool userMap = drive.course == UserMapCourse;
    if (!SameCourseFile(drive, courseFile, what) || (userMap && !MapReadable(mapFile, MapReader::UserMap, what)) ||
        (courseFile != mapFile && !MapReadable(courseFile, MapReader::Course, what))) {
        error = keyFile + ": " + what;
        return false;
    }
    return true;
}

bool PrepareWatch(const std::string& keyFile, AfterWatching after, std::string& error) {
    watch = Watch{};
    DriveRecord drive;
    std::string mapFile;
    if (!ReadCheckedDrive(keyFile, drive, mapFile, error)) return false;
    watch.prepared = true;
    watch.after = after;
    watch.drive = drive;
    watch.mapFile = mapFile;
    watch.mapStays = CourseFileToRead(drive, mapFile) == mapFile;
    return true;
}

bool PrepareBestWatch(int course, AfterWatching after, std::string& error) {
    const std::string keyFile = BestDriveFileName(course);
    std::error_code unknown;
    if (!fs::exists(keyFile, unknown)) {
        error = "no best drive of course " + std::to_string(course) + " in this folder (" + keyFile + ")";
        return false;
    }
    if (!PrepareWatch(keyFile, after, error)) return false;
    if (watch.drive.course == course) return true;
    watch.prepared = false;
    error = keyFile + ": a drive of course " + std::to_string(watch.drive.course) + ", not " + std::to_string(course);
    return false;
}

bool TakePreparedWatch(WatchStart& start) {
    if (!watch.prepared) return false;
    watch.prepared = false;
    watch.active = true;
    start.course = watch.drive.course;
    start.busType = watch.drive.busType;
    start.userMap = watch.drive.course == UserMapCourse ? watch.mapFile : "";
    return true;
}

bool Watching() { return watch.active; }

bool WatchedMapStays(int course) { return watch.active && course == UserMapCourse && watch.mapStays; }

bool NextWatchedKey(int& key) {
    const std::vector<KeyPress>& presses = watch.drive.presses;
    watch.feeding = watch.active && ScreenState == Driving && watch.nextPress < presses.size() &&
                    presses[watch.nextPress].frame <= DrivingFramesDrawn();
    if (watch.feeding) key = presses[watch.nextPress++].key;
    return watch.feeding;
}

bool FeedingWatchedKeys() { return watch.feeding; }

void WatchedKeysGiven() {
    watch.feeding = false;
    if (watch.active && ScreenState == Result) TellTimes();
}

WatchKey TakePlayerKey(int key) {
    if (!watch.active || watch.feeding) return WatchKey::NotWatching;
    if (key == VK_ESCAPE) {
        TellTimes();
        watch.active = false;
        return WatchKey::Quit;
    }
    if (IsStopKey(key)) return StopWatching();
    return WatchKey::Ignored;
}

void FinishWatch() {
    if (watch.active) TellTimes();
    watch.active = false;
}
