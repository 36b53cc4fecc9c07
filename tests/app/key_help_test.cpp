// F1's list: every key of the screen shown, in the game's language; while it shows the game
// waits, paused as by P, and its time does not count.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/course_note.h"
#include "app/key_help.h"
#include "app/keys.h"
#include "bus/bus.h"
#include "headless_fixtures.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "records/screen_fixture.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "shared/globals.h"
#include "shared/texts.h"

namespace {

bool Lists(const std::vector<KeyHelpLine>& lines, const std::string& keys, const std::string& action) {
    for (const KeyHelpLine& line : lines)
        if (line.keys == keys && line.action == action) return true;
    return false;
}

TEST_F(HeadlessGameTest, KeyListNamesTheKeysOfTheScreenInTheGamesLanguage) {
    const struct {
        std::int32_t screen;
        Language language;
        const char* keys;
        const char* action;
    } rows[] = {
        {CourseSelect, Language::Japanese, "↑ / ↓", "コースを選ぶ"},
        {BusSelect, Language::English, "Enter / Space", "Start driving"},
        {Driving, Language::Japanese, "G", "ゴーストを表示 / 隠す"},
        {Driving, Language::Japanese, "P / Pause", "一時停止 / 再開"},
        {Driving, Language::English, "- / = (keypad - / +)", "Volume down / up"},
        {Driving, Language::English, "Q F2 / A / Z F11", "Brake by 0.7 / 0.5 / 0.3"},
        {Result, Language::English, "Enter / Space", "Back to the course menu"},
        {Result, Language::Japanese, "Esc", "ゲームを終了"},
        // The player's own keys, from the preferences.
        {Driving, Language::Japanese, "E", "加速 0.4（自分のキー）"},
        {Driving, Language::English, "R", "Steer left 16° (your key)"},
    };
    GameSettings.keyBindings = {{'E', 'W', "E", "faster-0.4"}, {'R', 'U', "R", "left-16"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        ScreenState = row.screen;
        GameLanguage = row.language;
        EXPECT_TRUE(Lists(KeyHelpLines(), row.keys, row.action));
    }
    GameLanguage = Language::Japanese;
    ScreenState = CourseSelect;
    EXPECT_EQ(KeyHelpTitle(), "キー一覧：コース選択");
    EXPECT_FALSE(Lists(KeyHelpLines(), "G", "ゴーストを表示 / 隠す"));
    GameSettings = Settings{};
}

TEST_F(HeadlessGameTest, WhileTheKeyListShowsNoFrameMovesAndNoSecondCounts) {
    game.EnterCourse(0, 0);
    game.Frame();
    game.Press('W');  // starts the stopwatch at second 100
    clock.wallSeconds += 3;
    game.Frame();
    // Keys of a drive driven without a window never open the list.
    game.Press(VK_F1);
    EXPECT_FALSE(KeyHelpShown());

    ASSERT_TRUE(TakeKeyHelpKey(VK_F1));
    EXPECT_TRUE(DrivingPaused());
    const long frames = DrivingFramesDrawn();
    const double speed = liveBusState.speed;
    clock.wallSeconds += 5;
    clock.counter += 5 * clock.frequency;
    for (int frame = 0; frame < 3; ++frame) game.Frame();
    EXPECT_TRUE(TakeKeyHelpKey('W'));  // swallowed
    EXPECT_EQ(DrivingFramesDrawn(), frames);
    EXPECT_EQ(liveBusState.speed, speed);
    EXPECT_EQ(stopwatch->DriveSecondsShown(), 3);
    // The panel's grey frame and dark paper, over the driving screen (15 rows: 404 high).
    EXPECT_EQ(offscreen->PixelAt(17, 40), Rgb(192, 192, 192));
    EXPECT_EQ(offscreen->PixelAt(18, 40), Rgb(24, 32, 48));
    EXPECT_EQ(offscreen->PixelAt(18, 440), Rgb(192, 192, 192));  // two rows of frame at its foot
    EXPECT_EQ(CountPixels(*offscreen, {28, 90, 300, 110}, Rgb(160, 220, 255)), 130);  // the first row's keys, ↑ / ↓
    EXPECT_EQ(CountPixels(*offscreen, {28, 90, 34, 110}, Rgb(160, 220, 255)), 2);  // the arrow's tip at 33

    EXPECT_TRUE(TakeKeyHelpKey(VK_ESCAPE));  // closes the list, does not quit
    EXPECT_FALSE(KeyHelpShown());
    EXPECT_FALSE(DrivingPaused());
    EXPECT_EQ(ScreenState, Driving);
    game.Frame();
    EXPECT_EQ(DrivingFramesDrawn(), frames + 1);
    EXPECT_EQ(stopwatch->DriveSecondsShown(), 3);
    // A drive the player paused stays paused when the list closes.
    game.Press('P');
    ASSERT_TRUE(TakeKeyHelpKey(VK_F1));
    ASSERT_TRUE(TakeKeyHelpKey(VK_F1));
    EXPECT_TRUE(DrivingPaused());
}

// With the ghost on and no best drive yet, the first drive of the course says so at the foot of
// the course view for two seconds; the next drive does not again.
TEST_F(HeadlessGameTest, NoGhostToRaceIsSaidOnceOverTheCourseView) {
    GameSettings.ghost = true;
    game.EnterCourse(0, 0);
    EXPECT_EQ(CourseNoteShown(), "ゴーストなし：まだベスト走行がありません");
    game.Frame();
    EXPECT_EQ(offscreen->PixelAt(198, 381), Rgb(32, 42, 58));  // the line's paper, 8 above the view's foot
    EXPECT_NE(offscreen->PixelAt(198, 382), Rgb(32, 42, 58));
    EXPECT_EQ(CountPixels(*offscreen, {38, 362, 358, 378}, Rgb(255, 255, 255)), 1127);  // its white writing
    for (int frame = 1; frame < 59; ++frame) game.Frame();
    EXPECT_EQ(CourseNoteShown(), "ゴーストなし：まだベスト走行がありません");
    game.Frame();
    EXPECT_EQ(CourseNoteShown(), "");
    game.Press(VK_RETURN);  // back to the course menu
    game.EnterCourse(0, 0);
    EXPECT_EQ(CourseNoteShown(), "");
    GameSettings = Settings{};
}

}  // namespace
