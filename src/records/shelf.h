// The shelf: the player's own courses in the folder courses/ of the game folder, each with its
// own best time and best drive, kept by the course's hash (replays/drive_keys.h: of its map
// file bytes), so that a renamed file keeps its records and an edited course starts afresh.
// score.dat's row of the user-made course goes on as before, beside them.
//
// The best times are kept in shelf-times.txt in the game folder, one line per course:
//
//   # any comment
//   8a3c0f1e22b4d5c6 73          the course hash (16 hex digits) and its best score time
//
// and each best drive in best-<hash>.keys beside it, a key file like best-11.keys.
//
// Starting a drive on a course of the shelf with another ghost: PrepareMapToPlay (app/
// map_to_play.h) on the shelf path and PrepareGhostFile (replays/ghost.h) on a key file of a
// drive on that course, as `quonfel --map PATH --ghost-file KEYS` does; the drive's time then
// counts for the shelf course as any other.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

constexpr const char* ShelfFolderName = "courses";
constexpr const char* ShelfTimesFileName = "shelf-times.txt";

// courses/ in the game folder.
std::string ShelfFolder();

// Puts a course (the bytes of a map file or a course text) on the shelf, named after fileName
// (its last part): a course of the same bytes there already stays, and its path is returned;
// a name another course has gets a free one ("my-2.map"). Nothing on the shelf is ever written
// over. Returns the path on the shelf, or empty with the reason in whyNot.
std::string PutCourseOnShelf(const std::string& courseBytes, const std::string& fileName, std::string* whyNot);

struct ShelfCourse {
    std::string path;
    std::string name;  // the file name, or the course text's "# name:" line
    std::uint64_t hash = 0;
    std::int32_t bestTime = 0;  // score seconds; 0 while not cleared
};
// The courses the game can play in courses/, by name, with their best times. Hidden files,
// the temporary files of a save and what cannot be read as a course are left out.
std::vector<ShelfCourse> ListShelf();
// Whether courses/ holds a course the game can play.
bool ShelfHoldsACourse();

// Best score times by course hash, as shelf-times.txt holds them.
using ShelfTimes = std::map<std::uint64_t, std::int32_t>;
ShelfTimes ReadShelfTimes();
// The time of a drive to the goal of a shelf course: saved under the file's lock, merged with
// what another game saved, when it is the course's best. True when it is (then its drive is
// the new best drive); a save that fails says why in one line on stderr.
bool RecordShelfTime(std::uint64_t hash, std::int32_t seconds);

// "best-8a3c0f1e22b4d5c6.keys" in the game folder.
std::string ShelfBestDriveFile(std::uint64_t hash);
