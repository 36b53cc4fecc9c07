// The window procedure driven with messages, as the window would send them.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/headless_fixtures.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "shared/globals.h"

namespace {
LParam Key(int key) { return MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(key), 0); }

void Keys(int key, int times) {
    for (int i = 0; i < times; ++i) Key(key);
}

class WindowProcTest : public HeadlessObjects {
protected:
    void StartDrivingState(std::int32_t gear = 0, double speed = 0) {
        ScreenState = Driving;
        liveBusState.gear = gear;
        liveBusState.speed = speed;
    }

    // The whole outline inside the goal box of a code 20 tile at the centre of the view.
    void StandInGoalBox() {
        courseMap->grid[2][2] = 20;
        courseMap->currentCellX = 2;
        courseMap->currentCellY = 2;
        courseMap->lastCellX = 4;
        courseMap->lastCellY = 4;
        courseMap->violationCount = 0;
        const Point outline[] = {{266, 330}, {366, 330}, {366, 350}, {266, 350}};
        liveBusState.outlineCount = 4;
        for (int i = 0; i < 4; ++i) liveBusState.outline[i] = outline[i];
    }

    // Drives a run that starts at wall second 1000 and reaches the goal after `seconds`.
    void ReachGoalAfter(int course, int seconds) {
        scoreTable->currentCourse = course;
        menuScreen->CourseCursor = course;
        stopwatch->Reset();
        StandInGoalBox();
        StartDrivingState(1, 0);
        clock.wallSeconds = 1000;
        Key('H');  // the first driving key starts the stopwatch
        clock.wallSeconds = 1000 + seconds;
        Key(VK_DOWN);
    }
};
}  // namespace

TEST_F(WindowProcTest, MenuCursorsStopAtTheirFirstAndLastRows) {
    const struct {
        std::int32_t state;
        std::int32_t MenuScreen::*cursor;
        int start;
        int key;
        int expected;
    } cases[] = {
        {CourseSelect, &MenuScreen::CourseCursor, 0, VK_UP, 0},
        {CourseSelect, &MenuScreen::CourseCursor, 5, VK_UP, 4},
        {CourseSelect, &MenuScreen::CourseCursor, 10, VK_DOWN, 11},
        {CourseSelect, &MenuScreen::CourseCursor, 11, VK_DOWN, 11},
        {BusSelect, &MenuScreen::BusCursor, 0, VK_UP, 0},
        {BusSelect, &MenuScreen::BusCursor, 2, VK_DOWN, 3},
        {BusSelect, &MenuScreen::BusCursor, 3, VK_DOWN, 3},
        {CourseSelect, &MenuScreen::CourseCursor, 3, 'W', 3},
    };
    for (const auto& c : cases) {
        ScreenState = c.state;
        (*menuScreen).*c.cursor = c.start;
        EXPECT_EQ(Key(c.key), 0);
        EXPECT_EQ((*menuScreen).*c.cursor, c.expected) << c.start << " key " << c.key;
        EXPECT_EQ(ScreenState, c.state);
    }
}

TEST_F(WindowProcTest, ALockedCourseShowsTheSelectErrorAndStaysOnTheMenu) {
    menuScreen->CourseCursor = 1;  // a fresh table opens only the practice course
    Key(VK_RETURN);
    EXPECT_EQ(ScreenState, CourseSelect);
    EXPECT_EQ(scoreTable->currentCourse, 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "このコースは、まだ運転できません。");
    EXPECT_EQ(boxes.boxes[0].caption, "Course Select Error");
    EXPECT_EQ(boxes.boxes[0].type, MB_OK);
    EXPECT_EQ(menuScreen->ShowBusMenu, 0);
}

TEST_F(WindowProcTest, AnOpenCourseStartsDrivingOnItsMap) {
    WriteMapFile("0.map", 3, 2, 1, {17, 20});
    liveBusState.placed = 1;
    Key(VK_SPACE);
    EXPECT_EQ(ScreenState, Driving);
    EXPECT_EQ(courseMap->grid[0][0], 17);
    EXPECT_EQ(courseMap->goalCellX, 1);
    EXPECT_EQ(liveBusState.placed, 0);  // the set-up asks for a new placement
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WindowProcTest, ACompletedCourseOffersTheBusMenuFirst) {
    WriteMapFile("3.map", 3, 1, 1, {18});
    scoreTable->Current(3).courseState = Completed;
    menuScreen->CourseCursor = 3;
    Key(VK_RETURN);
    EXPECT_EQ(ScreenState, BusSelect);
    EXPECT_EQ(menuScreen->ShowBusMenu, 1);
    EXPECT_NE(courseMap->grid[0][0], 18);  // not loaded yet

    menuScreen->BusCursor = 2;
    Key(VK_RETURN);
    EXPECT_EQ(ScreenState, Driving);
    EXPECT_EQ(bus->busType, 2);
    EXPECT_EQ(maxSteerDeg, 64);
    EXPECT_EQ(courseMap->grid[0][0], 18);
}

TEST_F(WindowProcTest, TheUserMapCourseLoadsTheFileChosenInTheDialog) {
    WriteMapFile("mine.map", 3, 2, 2, {19, 0, 2, 23});
    scoreTable->Current(UserMapCourse).courseState = Open;
    menuScreen->CourseCursor = UserMapCourse;
    int dialogs = 0;
    SetOpenFileHandler([&](const OpenFileRequest&, std::string& path) {
        ++dialogs;
        path = dir.Path() + "/mine.map";
        return true;
    });
    Key(VK_RETURN);
    SetOpenFileHandler(nullptr);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(ScreenState, Driving);
    // No 11.map here, so the chosen map stays.
    EXPECT_EQ(courseMap->grid[0][0], 19);
    EXPECT_EQ(courseMap->goalCellX, 1);
    EXPECT_EQ(courseMap->goalCellY, 1);
}

TEST_F(WindowProcTest, TheGearMovesOnlyAtSpeedExactlyZeroAndWithinItsRange) {
    const struct {
        std::int32_t gear;
        double speed;
        int key;
        std::int32_t expected;
    } cases[] = {
        {0, 0.0, VK_UP, 1},     {1, 0.0, VK_UP, 1},      {0, 0.0, VK_DOWN, -1},
        {-1, 0.0, VK_DOWN, -1}, {1, 0.4, VK_DOWN, 1},    {-1, -1e-9, VK_UP, -1},
        {1, 0.0, VK_DOWN, 0},   {-1, 0.0, VK_UP, 0},
    };
    for (const auto& c : cases) {
        courseMap->violationCount = 1;  // keeps the goal out of reach
        StartDrivingState(c.gear, c.speed);
        Key(c.key);
        EXPECT_EQ(liveBusState.gear, c.expected) << c.gear << " " << c.speed << " " << c.key;
        EXPECT_EQ(ScreenState, Driving);  // no goal here
    }
}

TEST_F(WindowProcTest, TheGoalIsTriedInNeutralEvenWhenTheGearDidNotChange) {
    StandInGoalBox();
    StartDrivingState(0, 0.3);  // rolling in neutral: the gear cannot move
    Key(VK_UP);
    EXPECT_EQ(ScreenState, Result);
    EXPECT_EQ(courseMap->goalReached, 1);
}

TEST_F(WindowProcTest, LeavingNeutralWhileMovingDoesNotTryTheGoal) {
    StandInGoalBox();
    StartDrivingState(1, 0.5);
    Key(VK_DOWN);  // the gear stays 1
    EXPECT_EQ(ScreenState, Driving);
    EXPECT_EQ(courseMap->goalReached, 0);
}

TEST_F(WindowProcTest, SpeedKeysScaleByTheGearAndNeverCrossZero) {
    const struct {
        std::int32_t gear;
        double speed;
        int key;
        double expected;
    } cases[] = {
        {1, 0.0, 'W', 0.4},     {1, 0.0, VK_F8, 0.4},  {1, 1.0, 'S', 1.3},   {1, 1.0, VK_F4, 1.3},
        {1, 1.0, 'X', 1.2},     {1, 1.0, VK_F9, 1.2},  {1, 1.0, 'Q', 0.3},   {1, 0.5, VK_F2, 0.0},
        {1, 1.0, 'A', 0.5},     {1, 1.0, 'Z', 0.7},    {1, 1.0, VK_F11, 0.7}, {1, 0.2, 'Z', 0.0},
        {-1, 0.0, 'W', -0.4},   {-1, -1.0, 'Q', -0.3}, {-1, -0.5, 'Q', 0.0},  {-1, -1.0, 'A', -0.5}, {-1, -0.2, 'Z', 0.0},
        {0, 1.5, 'W', 1.5},     {0, 1.5, 'Q', 1.5},    {1, 50.0, 'W', 50.4},
    };
    for (const auto& c : cases) {
        StartDrivingState(c.gear, c.speed);
        Key(c.key);
        EXPECT_DOUBLE_EQ(liveBusState.speed, c.expected) << c.gear << " " << c.speed << " " << c.key;
    }
}

TEST_F(WindowProcTest, SteeringStopsExactlyAtTheLimitOnBothSides) {
    maxSteerDeg = 35;
    const double limit = Bus::DegToRad(35);
    StartDrivingState();
    Keys('H', 4);
    EXPECT_LT(liveBusState.steering, limit);
    Key('H');
    EXPECT_EQ(liveBusState.steering, limit);
    Keys(VK_NUMPAD0 + 7, 3);
    EXPECT_EQ(liveBusState.steering, limit);

    Keys('K', 30);
    EXPECT_EQ(liveBusState.steering, -limit);
    Key(VK_RIGHT);
    EXPECT_EQ(liveBusState.steering, -limit);
}

TEST_F(WindowProcTest, SteeringKeysTurnByTheirStep) {
    maxSteerDeg = 64;
    const struct {
        int key;
        int degrees;
    } cases[] = {
        {'U', 16}, {VK_NUMPAD0 + 7, 16}, {'H', 8},  {VK_LEFT, 8},  {VK_NUMPAD0 + 4, 8},
        {'J', 4},  {VK_NUMPAD0 + 1, 4},  {'I', -16}, {VK_NUMPAD0 + 9, -16}, {'L', -8},
        {VK_RIGHT, -8}, {VK_NUMPAD0 + 6, -8}, {'K', -4}, {VK_NUMPAD0 + 3, -4},
    };
    for (const auto& c : cases) {
        StartDrivingState();
        liveBusState.steering = 0;
        Key(c.key);
        EXPECT_DOUBLE_EQ(liveBusState.steering, Bus::DegToRad(c.degrees)) << c.key;
    }
}

TEST_F(WindowProcTest, CentringKeysMoveTowardZeroWithoutOvershooting) {
    maxSteerDeg = 64;
    const struct {
        int key;
        int fromDegrees;
        int toDegrees;
    } cases[] = {
        {VK_NUMPAD0 + 5, 3, 0},   {VK_NUMPAD0 + 5, -3, 0},  {VK_NUMPAD0 + 5, 20, 12},
        {VK_NUMPAD0 + 8, -20, -4}, {VK_NUMPAD0 + 8, 10, 0}, {VK_NUMPAD0 + 2, 10, 6},
        {VK_NUMPAD0 + 2, 0, 0},
    };
    for (const auto& c : cases) {
        StartDrivingState();
        liveBusState.steering = Bus::DegToRad(c.fromDegrees);
        Key(c.key);
        EXPECT_NEAR(liveBusState.steering, Bus::DegToRad(c.toDegrees), 1e-12) << c.key << " from " << c.fromDegrees;
        if (c.toDegrees == 0) {
            EXPECT_EQ(liveBusState.steering, 0.0);
        }
    }
}

TEST_F(WindowProcTest, OnlyDrivingKeysStartTheStopwatch) {
    StartDrivingState();
    // Also the ghost's key and the volume keys, with the ghost and the sound off.
    for (int key : {int{'B'}, VK_F1, int{'G'}, VK_OEM_PLUS, VK_OEM_MINUS, VK_ADD, VK_SUBTRACT}) Key(key);
    EXPECT_EQ(stopwatch->watchState, Idle);
    clock.wallSeconds = 5000;
    Key(VK_NUMPAD0 + 5);  // changes nothing at 0 degrees, still starts the clock
    EXPECT_EQ(stopwatch->watchState, Running);
    EXPECT_EQ(stopwatch->startTime, 5000);
    clock.wallSeconds = 5003;
    Key('W');
    EXPECT_EQ(stopwatch->startTime, 5000);
}

TEST_F(WindowProcTest, GoalKeepsTheBetterBestTimeAndReplacesNone) {
    const struct {
        std::int32_t stored;
        int seconds;
        std::int32_t expected;
    } cases[] = {{0, 65, 65}, {100, 65, 65}, {65, 65, 65}, {50, 65, 50}};
    for (const auto& c : cases) {
        scoreTable->Current(0).bestTime = c.stored;
        ReachGoalAfter(0, c.seconds);
        ASSERT_EQ(ScreenState, Result) << c.stored;
        EXPECT_EQ(scoreTable->Current(0).bestTime, c.expected) << c.stored;
    }
}

TEST_F(WindowProcTest, GoalEndsTheRunCompletesTheCourseAndSavesTheTable) {
    bus->busType = 3;
    liveBusState.placed = 1;
    ReachGoalAfter(0, 75);
    ASSERT_EQ(ScreenState, Result);
    EXPECT_EQ(liveBusState.placed, 0);
    EXPECT_EQ(liveBusState.speed, 0.0);
    EXPECT_EQ(liveBusState.gear, 0);
    EXPECT_EQ(liveBusState.steering, 0.0);  // H had turned the wheels
    EXPECT_EQ(stopwatch->watchState, Stopped);
    EXPECT_EQ(scoreTable->Current(0).courseState, Completed);
    EXPECT_EQ(scoreTable->Current(1).courseState, Open);
    EXPECT_EQ(bus->busType, 0);
    EXPECT_FALSE(ReadBytes(ScoreFileName).empty());
}

TEST_F(WindowProcTest, GoalOpensOnlyTheNextCourseThatIsNotCompleted) {
    scoreTable->Current(4).courseState = Completed;
    ReachGoalAfter(3, 10);
    EXPECT_EQ(scoreTable->Current(3).courseState, Completed);
    EXPECT_EQ(scoreTable->Current(4).courseState, Completed);

    ReachGoalAfter(UserMapCourse, 10);
    EXPECT_EQ(scoreTable->Current(UserMapCourse).courseState, Completed);
    EXPECT_EQ(scoreTable->Current(UserMapCourse + 1).courseState, Locked);
}

TEST_F(WindowProcTest, EnterLeavesARunWithoutRecordingAndReloadsTheCourse) {
    WriteMapFile("0.map", 3, 1, 1, {16});
    StartDrivingState(1, 2.0);
    stopwatch->Start();
    courseMap->grid[0][0] = 5;
    Key(VK_RETURN);
    EXPECT_EQ(ScreenState, CourseSelect);
    EXPECT_EQ(stopwatch->watchState, Idle);
    EXPECT_EQ(courseMap->grid[0][0], 16);
    EXPECT_TRUE(ReadBytes(ScoreFileName).empty());
    EXPECT_EQ(scoreTable->Current(0).courseState, Open);

    // From the result screen Space does the same; row 10 is not reloaded.
    WriteMapFile("10.map", 3, 1, 1, {17});
    menuScreen->CourseCursor = 10;
    ScreenState = Result;
    Key(VK_SPACE);
    EXPECT_EQ(ScreenState, CourseSelect);
    EXPECT_EQ(courseMap->grid[0][0], 16);
}

TEST_F(WindowProcTest, ResultScreenIgnoresDrivingKeys) {
    ScreenState = Result;
    Key('W');
    Key(VK_UP);
    EXPECT_EQ(liveBusState.gear, 0);
    EXPECT_EQ(stopwatch->watchState, Idle);
    EXPECT_EQ(ScreenState, Result);
}

TEST_F(WindowProcTest, EscapeClosesTheGameFromEveryScreen) {
    for (std::int32_t state : {CourseSelect, Driving, Result, BusSelect}) {
        SCOPED_TRACE(state);
        if (!courseMap) CreateGameObjects();
        ScreenState = state;
        Key(VK_ESCAPE);
        EXPECT_FALSE(courseMap || menuScreen || bus || stopwatch || scoreTable);
        EXPECT_EQ(Key(VK_RETURN), 0);  // a key still queued after shutdown finds nothing
    }
    EXPECT_TRUE(ReadBytes(ScoreFileName).empty());  // nothing is saved at shutdown
}

TEST_F(WindowProcTest, PopupCommandEndCloses) {
    EXPECT_EQ(MainWindowProc(nullptr, WM_COMMAND, IDM_GAME_START, 0), 0);
    EXPECT_TRUE(courseMap);
    EXPECT_EQ(MainWindowProc(nullptr, WM_COMMAND, IDM_GAME_EXIT, 0), 0);
    EXPECT_FALSE(courseMap);
}

TEST_F(WindowProcTest, DraggingMovesTheOriginAndKeepsTheWindowOnTheScreen) {
    const int maxX = std::max(0, ScreenWidth() - 640);
    const int maxY = std::max(0, ScreenHeight() - 480);
    // Without Ctrl a left click starts nothing.
    MainWindowProc(nullptr, WM_LBUTTONDOWN, 0, MakePointParam(10, 10));
    EXPECT_EQ(Dragging, 0);
    MainWindowProc(nullptr, WM_MOUSEMOVE, 0, MakePointParam(300, 300));
    EXPECT_EQ(WindowOrigin, (Point{0, 0}));

    BeginWindowDrag(nullptr, 10, 10);
    EXPECT_EQ(Dragging, 1);
    MainWindowProc(nullptr, WM_MOUSEMOVE, 0, MakePointParam(13, 12));
    EXPECT_EQ(WindowOrigin, (Point{std::min(3, maxX), std::min(2, maxY)}));

    // Far past the right and bottom edges, then back past the left and top ones.
    MainWindowProc(nullptr, WM_MOUSEMOVE, 0, MakePointParam(5000, 5000));
    EXPECT_EQ(WindowOrigin, (Point{maxX, maxY}));
    MainWindowProc(nullptr, WM_MOUSEMOVE, 0, MakePointParam(0, 0));
    EXPECT_EQ(WindowOrigin, (Point{0, 0}));

    // A held button keeps the mouse: positions left of or above the window are negative,
    // not the far edge that reading them unsigned would give.
    MainWindowProc(nullptr, WM_MOUSEMOVE, 0, MakePointParam(-20, -10));
    EXPECT_EQ(WindowOrigin, (Point{0, 0}));

    MainWindowProc(nullptr, WM_LBUTTONUP, 0, MakePointParam(0, 0));
    EXPECT_EQ(Dragging, 0);
    MainWindowProc(nullptr, WM_MOUSEMOVE, 0, MakePointParam(200, 200));
    EXPECT_EQ(WindowOrigin, (Point{0, 0}));
}
