#include "replays/drive_recorder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "course/course_map.h"
#include "platform/file_save.h"
#include "replays/drive_keys.h"
#include "shared/game_folder.h"
#include "shared/globals.h"

namespace {
// Room for the keys of a long drive, so that recording one does not stop to grow the list.
constexpr std::size_t kKeysReserved = 16384;
// The largest key file a watch reads.
constexpr std::size_t kLargestBestDrive = 16u << 20;

DriveRecord drive;
// Whether the drive's course file is known, so that the drive can be written and watched.
bool courseFileKnown = false;
long framesDrawn = 0;

// A numbered course is read from "N.map" in the game folder; if that failed, the drive ran on whatever
// was loaded before and cannot be watched again. The user map is any file a line can name.
bool NamesTheCourse(int course, const std::string& mapFileRead, const std::string& mapFile) {
    if (course != UserMapCourse) return mapFileRead == InGameFolder(std::to_string(course) + ".map");
    return FitsAMapLine(mapFile);
}

// Without a start tile on the course the bus starts where the drive before left it, which no
// watch can know: such a drive is not kept.
bool StartsOnAStartTile(const CourseMap& map) {
    const bool onCourse = map.startCellX >= 0 && map.startCellX <= map.lastCellX && map.startCellY >= 0 &&
                          map.startCellY <= map.lastCellY;
    const int code = map.CodeAt(map.startCellX, map.startCellY);
    return onCourse && code >= TileStartLeft && code <= TileStartDown;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Another game in the folder may have saved a faster drive of the course since this one read
// score.dat: a best drive is replaced only by a faster one. A file without a score that can be
// read has nothing to beat.
bool FasterThanSaved(const std::vector<std::uint8_t>& saved, std::int32_t scoreSeconds) {
    DriveRecord onDisk;
    std::string error;
    if (!ParseDrive(WithoutSavePadding(std::string(saved.begin(), saved.end())), onDisk, error)) return true;
    return onDisk.scoreSeconds == kNotRecorded || scoreSeconds < onDisk.scoreSeconds;
}
}  // namespace

void BeginDriveRecording(int course, int busType, const std::string& mapFileRead) {
    drive = DriveRecord{};
    drive.course = course;
    drive.busType = busType;
    drive.presses.reserve(kKeysReserved);
    framesDrawn = 0;
    if (course == UserMapCourse) drive.mapFile = AbsolutePath(mapFileRead);
    courseFileKnown = NamesTheCourse(course, mapFileRead, drive.mapFile) && StartsOnAStartTile(*courseMap) &&
                      HashDrivenCourse(course, mapFileRead, drive.courseHash);
    drive.hasCourseHash = courseFileKnown;
}

void RecordDrivingKey(int key) {
    // Keys without a name (Shift, Ctrl, ...) do nothing while driving.
    if (!KeyName(key).empty()) drive.presses.push_back({framesDrawn, key});
}

void CountDrivingFrame() { ++framesDrawn; }

long DrivingFramesDrawn() { return framesDrawn; }

void SaveBestDrive(std::int32_t drivingSeconds, std::int32_t penaltySeconds, std::int32_t scoreSeconds) {
    SaveBestDriveIn(BestDriveFileName(drive.course), drivingSeconds, penaltySeconds, scoreSeconds);
}

void SaveBestDriveIn(const std::string& path, std::int32_t drivingSeconds, std::int32_t penaltySeconds,
                     std::int32_t scoreSeconds) {
    if (!courseFileKnown) return;
    drive.drivingSeconds = drivingSeconds;
    drive.penaltySeconds = penaltySeconds;
    drive.scoreSeconds = scoreSeconds;
    const std::string course = std::to_string(drive.course);
    const std::string text = FormatDrive(
        {"Quonfel: the best drive of course " + course + " with bus type " + std::to_string(drive.busType) +
             ", goal after " + std::to_string(framesDrawn) + " frames.",
         "Watch it with: quonfel --watch-best " + course,
         "Each key line: the frame (0 places the bus) and the key pressed before it."},
        drive);
    const int error = SaveMergedFile(path, kLargestBestDrive, [&](const std::vector<std::uint8_t>* saved, std::vector<std::uint8_t>& bytes) {
        if (saved && !FasterThanSaved(*saved, scoreSeconds)) return false;
        bytes = Bytes(text);
        return true;
    });
    if (error != 0) std::fprintf(stderr, "quonfel: could not save the best drive in %s: %s\n", path.c_str(), std::strerror(error));
}

std::string BestDriveFileName(int course) { return InGameFolder("best-" + std::to_string(course) + ".keys"); }
