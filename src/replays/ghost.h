// Racing a recorded drive: the ghost bus. With the ghost on, a drive of a course that has a
// best drive (best-N.keys) driven on the course file now read runs that drive beside the
// player's: from the same first frame, frame by frame from its recorded keys, through the
// same key handling and motion, on bus records of its own. It touches nothing of the player's
// drive. It is drawn see-through under the player's bus, as a white dot on the minimap, and
// whenever one of the two reaches a cell the other has reached already, the corner of the
// course view shows by how many seconds the player is behind (+) or ahead (-) there.
//
// The shell calls it from the top (app/): BeginGhost when a drive starts, MoveGhost before
// each driving frame, ShowGhostRace after the times; the course view draws the ghost.
#pragma once
#include <string>

// Shows or hides the ghost while driving; it is no key of the drive and is not recorded.
constexpr int kGhostKey = 'G';

// --ghost-file: the drive in this key file is the ghost of its course instead of the best
// drive. False, with one line, when it cannot be read, is damaged, or was driven on another
// course file than the one now in the folder.
bool PrepareGhostFile(const std::string& keyFile, std::string& error);
// --challenge: this drive, already read and checked, is the ghost of its course instead.
struct DriveRecord;
void PrepareGhostDrive(const DriveRecord& drive);
// The best drive the ghost of the user-made course comes from, instead of best-11.keys: that of
// the course of the shelf now driven; empty for best-11.keys again.
void UseBestDriveOfUserCourse(const std::string& keyFile);
// How a drive with the ghost on began: racing its ghost, or why it has none (told once).
enum class GhostStart { Racing, Off, NoDriveYet, OtherCourse, Unreadable, AlreadyTold };
// A drive starts on a course read from mapFileRead: with the ghost on, the course's ghost
// starts with it. A ghost that is missing, damaged or was driven on another course file is
// left out, with one line on stderr the first time for each reason.
GhostStart BeginGhost(bool on, int course, const std::string& mapFileRead);
bool GhostRunning();
// The ghost's bus after its last frame, and its current cell; null when no ghost runs.
struct BusState;
const BusState* GhostBus(int& cellX, int& cellY);
// Before each driving frame: the ghost's keys of the frame, then its bus step.
void MoveGhost();
// After the course view: notes the cells the player and the ghost reached first in this
// frame, then draws the ghost's minimap dot and the difference, unless the ghost is hidden.
void ShowGhostRace();
// G: hides or shows the ghost, its dot and the difference; the ghost runs on either way.
// Without a ghost running it does nothing.
void ToggleGhostShown();

// The difference last shown, in frames (positive: the player is behind); false before the
// first. Its text: "+1.3", "-0.4", "0.0", in seconds at 30 frames a second.
bool GhostDifference(long& frames);
std::string DifferenceText(long frames);
