// Every drive is recorded while it is driven: the keys that reach the window procedure and
// the driving frame each one came before, in memory only. The drive that sets a course's new
// best time is written beside score.dat as best-<course>.keys, at its goal.
#pragma once
#include <cstdint>
#include <string>

// A drive starts on a course, with a bus type, on the map file the course was read from.
void BeginDriveRecording(int course, int busType, const std::string& mapFileRead);
// A key that reached the window procedure in the driving screen.
void RecordDrivingKey(int key);
// A driving frame was drawn; the keys after it belong to the next one.
void CountDrivingFrame();
// Driving frames drawn since the drive started.
long DrivingFramesDrawn();
// Writes the drive as the course's best drive, with the stopwatch's seconds, unless the drive
// cannot be told apart from another (no course file known) or the best drive saved there is as
// fast (another game's). A failed save leaves the old file and says why in one line on stderr.
void SaveBestDrive(std::int32_t drivingSeconds, std::int32_t penaltySeconds, std::int32_t scoreSeconds);
// The same into another key file: the best drive of a course of the shelf.
void SaveBestDriveIn(const std::string& keyFile, std::int32_t drivingSeconds, std::int32_t penaltySeconds,
                     std::int32_t scoreSeconds);

// "best-3.keys", in the game folder.
std::string BestDriveFileName(int course);
