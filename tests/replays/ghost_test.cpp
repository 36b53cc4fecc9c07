// The ghost bus: it drives its key file frame by frame exactly as the file drives alone, with
// its own bus type, while the player's drive beside it stays the same in every frame and every
// file as without it; a ghost that cannot be trusted is left out with one line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "app/app.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"

namespace {

constexpr int kCourse = 2;  // turns both ways

// The same drive with every key after the first gear shift some frames later, driven by
// another bus type.
DriveRecord Delayed(DriveRecord drive, long frames, int busType) {
    for (KeyPress& press : drive.presses) press.frame += press.frame > 1 ? frames : 0;
    drive.busType = busType;
    return drive;
}

template <typename T>
void Append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Everything of the player's drive that a frame leaves behind.
std::string PlayersFrame() {
    std::string bytes;
    Append(bytes, liveBusState);
    Append(bytes, frameBusState);
    for (std::int32_t field : {courseMap->currentCellX, courseMap->currentCellY, courseMap->violationCount,
                               courseMap->goalReached, stopwatch->startTime, stopwatch->driveTime,
                               stopwatch->penaltyTime, stopwatch->penaltyRunning, stopwatch->watchState, ScreenState})
        Append(bytes, field);
    return bytes;
}

std::string GhostsFrame(const BusState& bus, int cellX, int cellY) {
    std::string bytes;
    Append(bytes, bus);
    Append(bytes, cellX);
    Append(bytes, cellY);
    return bytes;
}

// The drive from the course menu, one record per frame, with the bus type and the G presses
// given; the files it leaves behind are read afterwards.
struct Drive {
    std::vector<std::string> player, ghost;
    std::set<long> differences;
};
Drive DriveCourse(const std::vector<KeyPress>& presses, int busType, const std::set<long>& gFrames = {}) {
    // Slots a bus type leaves unused keep what an earlier drive in this process left there.
    liveBusState = frameBusState = BusState{};
    FakeClock clock;
    HeadlessGame game;
    Drive drive;
    EXPECT_TRUE(game.Start());
    game.EnterCourse(kCourse, busType);
    long frame = 0;
    PlayDrive(game, clock, presses, [&] {
        if (gFrames.count(frame++)) game.Press(kGhostKey);
        if (!game.Driving()) return;  // the frame that crashed
        drive.player.push_back(PlayersFrame());
        int cellX = 0, cellY = 0;
        if (const BusState* ghost = GhostBus(cellX, cellY)) drive.ghost.push_back(GhostsFrame(*ghost, cellX, cellY));
        long difference = 0;
        if (GhostDifference(difference)) drive.differences.insert(difference);
    });
    return drive;
}

struct Files {
    std::vector<std::uint8_t> score, best;
};
Files DriveFiles() { return {ReadBytes(ScoreFileName), ReadBytes(BestDriveFileName(kCourse))}; }

class Ghost : public ::testing::Test {
protected:
    void SetUp() override { LinkGameData(); }
    void TearDown() override { GameSettings.ghost = false; }
    ScopedWorkDir dir;
};

TEST_F(Ghost, RacesItsDriveAsItDrivesAloneAndLeavesThePlayersDriveAsItWas) {
    const DriveRecord player = ShippedDrive(kCourse);
    const Drive without = DriveCourse(player.presses, 0);
    const Files filesWithout = DriveFiles();
    ASSERT_FALSE(filesWithout.best.empty());

    const struct {
        int busType;
        long delay;
    } ghosts[] = {{0, 20}, {3, 0}};
    for (const auto& g : ghosts) {
        SCOPED_TRACE(testing::Message() << "a ghost of bus type " << g.busType << ", " << g.delay << " frames late");
        const DriveRecord ghostDrive = Delayed(player, g.delay, g.busType);
        std::filesystem::remove(ScoreFileName);
        const Drive alone = DriveCourse(ghostDrive.presses, g.busType);

        std::filesystem::remove(ScoreFileName);
        WriteText(BestDriveFileName(kCourse), FormatDrive({}, ghostDrive));
        GameSettings.ghost = true;
        const Drive beside = DriveCourse(player.presses, 0, {100, 101, 400});
        GameSettings.ghost = false;

        // The player's frames and files are those without the ghost (G recorded nowhere).
        EXPECT_TRUE(beside.player == without.player);
        EXPECT_TRUE(DriveFiles().score == filesWithout.score && DriveFiles().best == filesWithout.best);
        // The ghost's frames are those of its file alone, as far as that drive went.
        ASSERT_FALSE(beside.ghost.empty());
        for (std::size_t frame = 0; frame < alone.player.size() && frame < beside.ghost.size(); ++frame) {
            const BusState& a = *reinterpret_cast<const BusState*>(alone.player[frame].data());
            ASSERT_TRUE(std::memcmp(beside.ghost[frame].data(), &a, sizeof a) == 0) << "frame " << frame;
        }
        // The same drive later is behind the player by the same time in every cell.
        if (g.delay > 0) {
            EXPECT_EQ(beside.differences, (std::set<long>{0, -g.delay}));
        }
    }
}

TEST_F(Ghost, DifferenceInTenthsOfASecond) {
    const std::pair<long, const char*> texts[] = {{0, "0.0"}, {1, "0.0"}, {2, "+0.1"}, {-2, "-0.1"},
                                                  {15, "+0.5"}, {-20, "-0.7"}, {3000, "+100.0"}};
    for (const auto& [frames, text] : texts) EXPECT_EQ(DifferenceText(frames), text) << frames;
}

TEST_F(Ghost, ADriveThatCannotBeTrustedGivesNoGhostAndOneLine) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    courseMap->LoadCourse(kCourse);
    const std::string best = BestDriveFileName(kCourse);
    const std::string shipped = ReadText(ShippedDrivePath(kCourse));
    const struct {
        std::string file, says;
        bool on;
        bool runs;
    } cases[] = {
        {"", "", true, false},  // none yet
        {shipped, "", false, false},
        {shipped, "", true, true},
        {shipped + "9999 Jump\n", "line 689: expected a frame number and a key name", true, false},
        {ReadText(ShippedDrivePath(0)), "best-2.keys: a drive of course 0, not 2", true, false},
        {"course 2\nbus 0\ncourse-hash 0123456789abcdef\n", "driven on another course than 2.map", true, false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(best);
        if (!c.file.empty()) WriteText(best, c.file);
        testing::internal::CaptureStderr();
        for (int drive = 0; drive < 2; ++drive) BeginGhost(c.on, kCourse, courseMap->mapFileRead);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(GhostRunning(), c.runs) << c.says;
        if (c.says.empty()) EXPECT_EQ(err, "");
        else EXPECT_TRUE(err.find(c.says) != std::string::npos && err.find('\n') == err.size() - 1) << err;
    }
    // A file chosen for its course takes the best drive's place there.
    std::string error;
    std::filesystem::remove(best);
    WriteText("mine.keys", shipped);
    ASSERT_TRUE(PrepareGhostFile("mine.keys", error)) << error;
    BeginGhost(true, kCourse, courseMap->mapFileRead);
    EXPECT_TRUE(GhostRunning());
    WriteText("mine.keys", shipped + "9999 Jump\n");
    EXPECT_FALSE(PrepareGhostFile("mine.keys", error));
    EXPECT_EQ(error, "mine.keys: line 689: expected a frame number and a key name");
}

}  // namespace
