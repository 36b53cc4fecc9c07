// Key files on any bytes: the reader takes a drive or names the line it refuses, a drive it
// takes is written back to the same drive, and the watch either takes the file or refuses it
// in one line.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "replays/drive_keys.h"
#include "replays/watch.h"

namespace {
bool SamePresses(const DriveRecord& a, const DriveRecord& b) {
    if (a.presses.size() != b.presses.size()) return false;
    for (std::size_t i = 0; i < a.presses.size(); ++i) {
        if (a.presses[i].frame != b.presses[i].frame || a.presses[i].key != b.presses[i].key) return false;
    }
    return true;
}

bool SameDrive(const DriveRecord& a, const DriveRecord& b) {
    return a.course == b.course && a.busType == b.busType && a.hasCourseHash == b.hasCourseHash &&
           a.courseHash == b.courseHash && a.mapFile == b.mapFile && a.drivingSeconds == b.drivingSeconds &&
           a.penaltySeconds == b.penaltySeconds && a.scoreSeconds == b.scoreSeconds && SamePresses(a, b);
}

bool PressesInOrder(const DriveRecord& drive) {
    long previous = 0;
    for (const KeyPress& press : drive.presses) {
        if (press.frame < previous || KeyName(press.key).empty()) return false;
        previous = press.frame;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareReaderFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    DriveRecord drive;
    std::string error;
    if (!ParseDrive(text, drive, error)) {
        FuzzExpect(error.rfind("line ", 0) == 0, "a refused file names the line");
    } else {
        FuzzExpect(PressesInOrder(drive), "keys with names, frames in order");
        DriveRecord again;
        FuzzExpect(ParseDrive(FormatDrive({"again"}, drive), again, error), "a written drive reads");
        FuzzExpect(SameDrive(drive, again), "a written drive reads back the same");
    }

    WriteFuzzInput("drive.keys", data, size);
    if (!PrepareWatch(FuzzFilePath("drive.keys"), AfterWatching::EndTheGame, error))
        FuzzExpect(!error.empty() && error.find('\n') == std::string::npos, "a refusal is one line");
    return 0;
}
