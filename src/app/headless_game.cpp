#include "app/headless_game.h"

#include "app/app.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "shared/globals.h"

namespace {
int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

// The course view's origin in course pixels: the current cell is the view's centre cell.
int ViewOrigin(int currentCell) { return (currentCell - 2) * TileSize; }
}  // namespace

HeadlessGame::~HeadlessGame() {
    if (started_) ReleaseAll();
    RecordsKept = true;
    ForgetGivenCourse();
}

void HeadlessGame::KeepNoRecords() { RecordsKept = false; }

void HeadlessGame::GiveCourse(int course, std::vector<std::uint8_t> stream) { ::GiveCourse(course, std::move(stream)); }

bool HeadlessGame::Start(int screenWidth, int screenHeight) {
    WindowOrigin = {0, 0};
    WindowSize = {640, 480};
    ScreenState = CourseSelect;  // as at program start, whatever an earlier game in this process left
    started_ = true;
    if (CreateSurfaces(screenWidth, screenHeight) && LoadAllBitmaps()) {
        CreateGameObjects();
        return true;
    }
    StartupError = nullptr;
    return false;
}

void HeadlessGame::EnterCourse(int course, int busType) {
    scoreTable->Current(course).courseState = busType == 0 ? Open : Completed;
    render_frame();
    for (int row = 0; row < course; ++row) Press(VK_DOWN);
    Press(VK_RETURN);
    if (ScreenState == BusSelect) {
        render_frame();
        for (int row = 0; row < busType; ++row) Press(VK_DOWN);
        Press(VK_RETURN);
    }
    // The first driving frame, which places the bus, is the drive's frame 0: a key file's
    // frames count from it, as the game counts them.
    driveFrames_ = 0;
    violationFrames_ = 0;
}

void HeadlessGame::Press(int key) {
    MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(key), 0);
    MainWindowProc(nullptr, WM_KEYUP, static_cast<WParam>(key), 0);
}

void HeadlessGame::Frame() {
    const bool driving = Driving();
    render_frame();
    if (driving) CountFrame();
}

void HeadlessGame::QuickFrame() {
    if (!Driving()) return Frame();
    std::unique_ptr<Surface> view = std::move(mapscreen);  // the course view then skips its drawing
    courseMap->RenderMap(*offscreen);
    mapscreen = std::move(view);
    courseMap->ApplyLaneRule();
    courseMap->ApplyWallRule();
    if (courseMap->CheckCrash() == 1) EndRunFromFrame();
    CountDrivingFrame();
    CountFrame();
}

void HeadlessGame::CountFrame() {
    ++driveFrames_;
    if (courseMap->violationCount > 0) ++violationFrames_;
}

bool HeadlessGame::Driving() const { return ScreenState == ::Driving; }

bool HeadlessGame::GoalReached() const { return ScreenState == Result && courseMap->goalReached == 1; }

BusPose HeadlessGame::Pose() const {
    const BusState& s = liveBusState;
    return {ViewOrigin(courseMap->currentCellX) + s.exactX, ViewOrigin(courseMap->currentCellY) + s.exactY, s.heading,
            s.speed, s.steering, s.gear};
}

std::vector<Point> HeadlessGame::BodyOutline() const {
    const BusState& s = frameBusState;
    const int left = ViewOrigin(courseMap->currentCellX), top = ViewOrigin(courseMap->currentCellY);
    std::vector<Point> outline;
    for (int i = 0; i < s.outlineCount && i < MaxOutlinePoints; ++i)
        outline.push_back({left + s.outline[i].x, top + s.outline[i].y});
    return outline;
}

void HeadlessGame::DriverCell(int& x, int& y) const {
    const Point& seat = liveBusState.driverPoint;
    x = courseMap->currentCellX - 2 + FloorDiv(seat.x, TileSize);
    y = courseMap->currentCellY - 2 + FloorDiv(seat.y, TileSize);
}

// A drive that has not ended (out of time, or stopped short of the goal) is read as it stands.
std::int32_t HeadlessGame::DrivingSeconds() const { return static_cast<std::int32_t>(stopwatch->DriveSecondsShown()); }
std::int32_t HeadlessGame::PenaltySeconds() const {
    if (stopwatch->watchState != Running) return stopwatch->penaltyTime;
    return static_cast<std::int32_t>(stopwatch->PenaltySecondsShown());
}

std::int32_t HeadlessGame::CourseState(int course) const { return scoreTable->Current(course).courseState; }
