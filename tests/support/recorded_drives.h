// The shipped recorded drives (replays/N.keys) and a loop that plays one through a headless
// game frame by frame, as the frame loop would: the keys of a frame first, then the frame.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "replays/drive_keys.h"
#include "support/test_support.h"

constexpr long kReplayFramesPerSecond = 30;
constexpr std::int64_t kReplayFirstSecond = 1700000000;

// A key file; a test failure when it cannot be read.
DriveRecord ReadDriveFile(const std::string& path);
// A course's shipped recorded drive (replays/N.keys): its path, the drive, its presses alone.
std::string ShippedDrivePath(int course);
DriveRecord ShippedDrive(int course);
std::vector<KeyPress> RecordedDrive(int course);

// Runs the frames of a drive from its first driving frame on until the drive ends or five
// seconds after lastKeyFrame. The wall clock moves on one second every 30 frames;
// beforeFrame(frame) gives the keys of a frame, afterFrame runs after each frame.
void RunDriveFrames(HeadlessGame& game, FakeClock& clock, long lastKeyFrame,
                    const std::function<void(long)>& beforeFrame, const std::function<void()>& afterFrame);
// Runs the frames of a drive being watched (the watch begun): the game feeds the recorded keys
// itself; playerKeys(frame) may press keys of the player's before it does.
void WatchDrive(HeadlessGame& game, FakeClock& clock, const DriveRecord& drive,
                const std::function<void(long)>& playerKeys = [](long) {},
                const std::function<void()>& afterFrame = [] {});
// Plays the presses, each before its frame, through the window procedure.
void PlayDrive(HeadlessGame& game, FakeClock& clock, const std::vector<KeyPress>& presses,
               const std::function<void()>& afterFrame = [] {});

// The bus in every driving frame of a drive, and how the drive ended.
struct DriveTrace {
    std::vector<BusPose> poses;
    bool goal = false;
};
// Plays presses on a course, chosen on the course menu with bus type 0, in a new headless game
// in the current folder.
DriveTrace TraceDrive(int course, const std::vector<KeyPress>& presses);
// Watches a drive prepared with PrepareWatch in a new headless game in the current folder.
DriveTrace TraceWatch(const DriveRecord& drive, const std::function<void(long)>& playerKeys = [](long) {});
// The same bus in every frame, and the same end; the first frame that differs is reported.
void ExpectSameDrive(const DriveTrace& expected, const DriveTrace& actual);
