// The ghost bus: it drives its key file frame by frame exactly as the file drives alone, as its
// own bus type, while the player's drive beside it stays the same in every frame and file as
// without it; a ghost that cannot be trusted is left out with one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "app/app.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"

namespace {

constexpr int kCourse = 2;  // turns both ways

// The same drive with every key after the first gear shift some frames later, as a bus type,
// with a G among its keys (as a key file of an older game may hold).
DriveRecord Delayed(DriveRecord drive, long frames, int busType) {
    for (KeyPress& press : drive.presses) press.frame += press.frame > 1 ? frames : 0;
    drive.presses.insert(drive.presses.begin() + 3, {drive.presses[3].frame, kGhostKey});
    drive.busType = busType;
    return drive;
}

template <typename T>
void Append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A drive from the course menu: what each frame left of the player's drive and of the ghost's
// bus, the differences shown, and the files written. G is pressed after the frames given.
struct Drive {
    std::vector<std::string> player, ghost;
    std::set<long> differences;
    std::string files;
};
Drive DriveCourse(const std::vector<KeyPress>& presses, int busType, const std::set<long>& gAfter = {}) {
    // Slots a bus type leaves unused keep what an earlier drive in this process left there.
    liveBusState = frameBusState = BusState{};
    FakeClock clock;
    HeadlessGame game;
    Drive drive;
    EXPECT_TRUE(game.Start());
    game.EnterCourse(kCourse, busType);
    PlayDrive(game, clock, presses, [&] {
        if (gAfter.count(static_cast<long>(drive.player.size()))) game.Press(kGhostKey);
        if (!game.Driving()) return;  // the frame that crashed
        std::string& player = drive.player.emplace_back();
        Append(player, liveBusState);
        Append(player, frameBusState);
        for (std::int32_t field : {courseMap->currentCellX, courseMap->currentCellY, courseMap->violationCount,
                                   stopwatch->startTime, stopwatch->penaltyTime, stopwatch->penaltyRunning})
            Append(player, field);
        int cellX = 0, cellY = 0;
        long difference = 0;
        if (const BusState* ghost = GhostBus(cellX, cellY)) drive.ghost.emplace_back().assign(
            reinterpret_cast<const char*>(ghost), sizeof *ghost);
        if (GhostDifference(difference)) drive.differences.insert(difference);
    });
    drive.files = ReadText(ScoreFileName) + ReadText(BestDriveFileName(kCourse));
    return drive;
}

class Ghost : public ::testing::Test {
protected:
    void SetUp() override { LinkGameData(); }
    void TearDown() override { GameSettings.ghost = false; }
    ScopedWorkDir dir;
};

TEST_F(Ghost, RacesItsDriveAsItDrivesAloneAndLeavesThePlayersDriveAsItWas) {
    const DriveRecord player = ShippedDrive(kCourse);
    const Drive without = DriveCourse(player.presses, 0);
    ASSERT_FALSE(without.files.empty());
    for (const auto& [busType, delay] : {std::pair<int, long>{0, 20}, {3, 0}}) {
        SCOPED_TRACE(testing::Message() << "a ghost of bus type " << busType << ", " << delay << " frames late");
        const DriveRecord ghostDrive = Delayed(player, delay, busType);
        std::filesystem::remove(ScoreFileName);
        const Drive alone = DriveCourse(ghostDrive.presses, busType);

        std::filesystem::remove(ScoreFileName);
        DriveRecord onRecord = ghostDrive;
        onRecord.scoreSeconds += 60;  // slower, so that the player's new best replaces it
        WriteText(BestDriveFileName(kCourse), FormatDrive({}, onRecord));
        GameSettings.ghost = true;
        const Drive beside = DriveCourse(player.presses, 0, {100, 101, 400});
        GameSettings.ghost = false;

        // The player's frames and files are those without the ghost (G recorded nowhere).
        EXPECT_TRUE(beside.player == without.player);
        EXPECT_TRUE(beside.files == without.files);
        // The ghost's frames are those of its file alone, as far as that drive went.
        ASSERT_FALSE(beside.ghost.empty());
        for (std::size_t frame = 0; frame < alone.player.size() && frame < beside.ghost.size(); ++frame)
            ASSERT_TRUE(beside.ghost[frame] == alone.player[frame].substr(0, sizeof(BusState))) << "frame " << frame;
        // The same drive later is behind the player by the same time in every cell.
        if (delay > 0) {
            EXPECT_EQ(beside.differences, (std::set<long>{0, -delay}));
        }
    }
}

TEST_F(Ghost, DifferenceInTenthsOfASecond) {
    const std::pair<long, const char*> texts[] = {{0, "0.0"}, {1, "0.0"}, {2, "+0.1"}, {-2, "-0.1"},
                                                  {15, "+0.5"}, {-20, "-0.7"}, {3000, "+100.0"}};
    for (const auto& [frames, text] : texts) EXPECT_EQ(DifferenceText(frames), text) << frames;
}

TEST_F(Ghost, ADriveThatCannotBeTrustedGivesNoGhostAndOneLineAndGWithoutAGhostHidesNone) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    courseMap->LoadCourse(kCourse);
    const std::string shipped = ReadText(ShippedDrivePath(kCourse));
    // Whether the ghost's next frame draws its dot on the minimap: white in the middle of the
    // 9-pixel square, leaving two pixels of the player's square around it.
    const auto dotDrawn = [] {
        MoveGhost();
        int x = 0, y = 0;
        GhostBus(x, y);
        const Rect dot = MinimapCellSquare(x, y);
        offscreen->FillRect(dot, 0);
        ShowGhostRace();
        std::string diagonal;
        for (int i = 0; i < 9; ++i) diagonal += offscreen->PixelAt(dot.left + i, dot.top + i) == Rgb(255, 255, 255) ? 'W' : '.';
        return diagonal == "..WWWWW..";
    };
    WriteText(BestDriveFileName(kCourse), shipped);
    BeginGhost(true, kCourse, courseMap->mapFileRead);
    if (!dotDrawn()) ToggleGhostShown();  // shown, whatever earlier tests left
    const struct {
        std::string best, says;
        bool on, runs;
        GhostStart start;
    } cases[] = {
        {"", "no best drive of course 2 yet", true, false, GhostStart::NoDriveYet},
        {shipped, "", false, false, GhostStart::Off},
        {shipped, "", true, true, GhostStart::Racing},
        {shipped + "9999 Jump\n", "best-2.keys: line 689: expected a frame number and a key name", true, false,
         GhostStart::Unreadable},
        {ReadText(ShippedDrivePath(0)), "best-2.keys: a drive of course 0, not 2", true, false, GhostStart::OtherCourse},
        {"course 2\nbus 0\ncourse-hash 0123456789abcdef\n", "best-2.keys: driven on another course than 2.map", true,
         false, GhostStart::OtherCourse},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(BestDriveFileName(kCourse));
        if (!c.best.empty()) WriteText(BestDriveFileName(kCourse), c.best);
        testing::internal::CaptureStderr();
        EXPECT_EQ(BeginGhost(c.on, kCourse, courseMap->mapFileRead), c.start) << c.says;
        // Said once: the next drive of the course starts without a word.
        EXPECT_EQ(BeginGhost(c.on, kCourse, courseMap->mapFileRead), c.says.empty() ? c.start : GhostStart::AlreadyTold);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(GhostRunning(), c.runs) << c.says;
        if (c.on && !c.runs) ToggleGhostShown();  // G in a drive without a ghost hides no later one
        if (c.runs) {
            EXPECT_TRUE(dotDrawn());
        }
        const std::string line = c.says.empty() ? "" : "quonfel: no ghost: " + c.says;
        EXPECT_EQ(err.substr(0, line.size()), line);
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), c.says.empty() ? 0 : 1) << err;
    }
}

// The ghost's layer on a grey view block, the player's cell some tiles off the ghost's: the
// box of the pixels it changed, and a checksum of them.
std::pair<Rect, std::uint64_t> GhostLayer(int tilesRight, int tilesDown) {
    int x = 0, y = 0;
    GhostBus(x, y);
    courseMap->currentCellX = x - tilesRight;
    courseMap->currentCellY = y - tilesDown;
    const auto block = Surface::Create(640, 640);
    const Colorref grey = Rgb(128, 128, 128);
    block->FillRect({0, 0, 640, 640}, grey);
    beneathTheBus(*block, {0, 0}, {0, 0, 640, 640});
    Rect box{640, 640, 0, 0};
    std::uint64_t sum = 0;
    for (int py = 0; py < 640; ++py)
        for (int px = 0; px < 640; ++px) {
            const Colorref pixel = block->PixelAt(px, py);
            if (pixel == grey) continue;
            box = {std::min(box.left, px), std::min(box.top, py), std::max(box.right, px + 1), std::max(box.bottom, py + 1)};
            sum = sum * 31 + pixel + static_cast<std::uint64_t>(px) * 7 + py;
        }
    return {box, sum};
}

// Seen from the cell left of and below its own, the ghost stands a tile further right and up
// than seen from its own cell. Standing at the start it turns its wheels: its picture follows.
TEST_F(Ghost, IsDrawnWhereItIsAndAgainWhenOnlyItsWheelsTurn) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    courseMap->LoadCourse(kCourse);
    DriveRecord drive = ShippedDrive(kCourse);
    drive.presses = {{1, 'U'}};
    WriteText(BestDriveFileName(kCourse), FormatDrive({}, drive));
    BeginGhost(true, kCourse, courseMap->mapFileRead);
    ASSERT_TRUE(GhostRunning());
    MoveGhost();
    if (GhostLayer(0, 0).first.IsEmpty()) ToggleGhostShown();  // shown, whatever earlier tests left
    const auto [here, straight] = GhostLayer(0, 0);
    ASSERT_FALSE(here.IsEmpty());
    const Rect moved = GhostLayer(1, -1).first;
    EXPECT_EQ((std::vector<int>{moved.left - here.left, moved.top - here.top, moved.right - here.right,
                                moved.bottom - here.bottom}),
              (std::vector<int>{128, -128, 128, -128}));
    MoveGhost();
    EXPECT_NE(GhostLayer(0, 0).second, straight);
}

}  // namespace
