// Watching a recorded drive in the game window: the course and the bus as recorded, the
// recorded keys fed to the window procedure before their frames, every screen the real one.
// While watching, the player's keys do nothing but Esc (quit), Enter or Space (stop
// watching), G (the ghost) and the volume keys. Watching scores nothing and writes no file.
//
// The game's shell plays a watch (app/watching.h): it asks here what to do and does it.
#pragma once
#include <cstdint>
#include <string>

// Where stopping a watch leads.
enum class AfterWatching { EndTheGame, CourseMenu };

struct DriveRecord;

// A header line a drive cannot be played without (what: which one); false when none is missing.
bool MissingHeader(const DriveRecord& drive, std::string& what);
// Reads a key file and checks that it is whole and was driven on the course file that is in
// the folder now; false with one line when not. mapFile: a user map as found from the key file.
bool ReadCheckedDrive(const std::string& keyFile, DriveRecord& drive, std::string& mapFile, std::string& error);
// Where that error says the drive was driven on another version of its course file.
constexpr const char* kDrivenOnAnotherCourse = "driven on another course than ";
// Reads and checks a key file before the game starts. False, with one line for stderr, when
// it cannot be read, is damaged (naming the line), or was driven on another course file than
// the one now in the folder.
bool PrepareWatch(const std::string& keyFile, AfterWatching after, std::string& error);
// The best drive of a course, best-N.keys in the game folder.
bool PrepareBestWatch(int course, AfterWatching after, std::string& error);

// What the game sets before a watched drive starts: its course, under the menu cursor and as
// the current course, and its bus type; for the user map (course 11) the file to read first.
struct WatchStart {
    int course = 0;
    std::int32_t busType = 0;
    std::string userMap;
};
// After start-up: true when a watch was prepared, which then begins: the game sets what start
// says and starts the drive.
bool TakePreparedWatch(WatchStart& start);
bool Watching();
// Whether the course being watched is the user map its key file names, read already, which no
// 11.map in the folder is to replace (a drive of quonfel --map).
bool WatchedMapStays(int course);
// Before each frame: the next recorded key of the coming driving frame, one at a time, while
// the game is on the driving screen; false when there is none left for this frame.
bool NextWatchedKey(int& key);
// True while those keys are on their way: they are the drive's, not the player's.
bool FeedingWatchedKeys();
// Once the recorded keys of a frame are in: the times are printed once the drive has ended.
void WatchedKeysGiven();
// What a key of the player does while watching. StopToMenu: back to the course menu with the
// bus type the game had before the watch.
enum class WatchKey { NotWatching, Ignored, Quit, StopAndEnd, StopToMenu };
WatchKey TakePlayerKey(int key);
// At the end of the game: the times, if the watch has not printed them yet.
void FinishWatch();
