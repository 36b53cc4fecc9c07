#include "app/map_to_play.h"

#include <cstdio>
#include <vector>

#include "app/keys.h"
#include "course/course_map.h"
#include "course/user_course.h"
#include "records/score_table.h"
#include "records/shelf.h"
#include "replays/challenge.h"
#include "replays/ghost.h"
#include "shared/globals.h"
#include "shared/outside_text.h"

namespace {
// Absolute, so that the key file of a best drive names it wherever it is watched from.
std::string mapToPlay;
bool onShelf = false;

void Tell(const std::string& path, const std::string& what) {
    std::fprintf(stderr, "quonfel: %s: %s\n", Printable(path).c_str(), Printable(what).c_str());
}
// The player's file stays what is played, so that score.dat's row and best-11.keys go on naming
// it; the copy on the shelf has the same course, so its records are the same.
bool PutOnShelf(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string whyNot = "cannot be read";
    if (ReadOutsideFile(path, kLargestUserCourse, bytes) == OutsideFile::Read &&
        !PutCourseOnShelf(std::string(bytes.begin(), bytes.end()), path, &whyNot).empty())
        return true;
    Tell(path, "not put on the shelf of your courses in " + ShelfFolder() + ": " + whyNot);
    return false;
}
}  // namespace

bool PrepareMapToPlay(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> problems;
    bool fromText = false;
    if (!ReadUserCourse(path, bytes, problems, &fromText)) {
        for (const std::string& problem : FirstProblems(problems)) Tell(path, problem);
        return false;
    }
    if (!fromText) {
        const std::string flaw = MapFileProblem(path, MapReader::UserMap);
        if (!flaw.empty()) RejectUserMapFile(path, flaw);
    }
    mapToPlay = AbsolutePath(path);
    return true;
}

void PlayShelfCourse(const std::string& path) {
    mapToPlay = AbsolutePath(path);
    onShelf = true;
}

bool ShelfCourseToPlay() { return MapToPlayGiven() && onShelf; }

bool PrepareChallengeToPlay(const std::string& path) {
    Challenge challenge;
    DriveRecord drive;
    const std::string problem = ReadChallengeFile(path, challenge, drive);
    if (!problem.empty()) {
        Tell(path, problem);
        return false;
    }
    std::string why;
    const std::string shelfPath = PutCourseOnShelf(std::string(challenge.map.begin(), challenge.map.end()),
                                                 ChallengeFileStem(challenge.name) + ".map", &why);
    if (shelfPath.empty()) {
        Tell(path, "its course cannot be put on the shelf: " + why);
        return false;
    }
    if (!PrepareMapToPlay(shelfPath)) return false;
    drive.mapFile = mapToPlay;
    PrepareGhostDrive(drive);
    return true;
}

bool MapToPlayGiven() { return !mapToPlay.empty(); }

void ForgetMapToPlay() {
    mapToPlay.clear();
    onShelf = false;
}

void BeginMapToPlay() {
    if (!MapToPlayGiven()) return;
    onShelf = PutOnShelf(mapToPlay);
    ChooseUserCourse(scoreTable->Current(UserMapCourse).courseState == Completed);
}

bool LoadMapToPlay(int course) {
    if (course != UserMapCourse || !MapToPlayGiven()) return false;
    // Changed since into something the game cannot read: the course read before stays, as
    // after a cancelled file dialog.
    if (courseMap->LoadUserCourse(mapToPlay) == 0) Tell(mapToPlay, "cannot be read as a course now; the course read before stays");
    return true;
}
