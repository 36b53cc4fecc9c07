// The game tells its sound what happens: the menus, the keys of a drive, each driving frame
// with the warning the frame shows, the crash; and the volume keys.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/headless_fixtures.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "shared/globals.h"
#include "sound/sound.h"
#include "sound/volume_display.h"

namespace {
void Key(int key) { MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(key), 0); }

std::uint32_t Cues(SoundCue cue) { return GameSoundControls().cues[static_cast<int>(cue)]; }

class SoundTest : public HeadlessGameTest {
protected:
    void SetUp() override {
        HeadlessGameTest::SetUp();
        GameSettings.volume = 80;
        StartSound(GameSettings.volume);  // SDL's dummy device: it plays into nothing
        ASSERT_TRUE(SoundPlaying());
    }
    void TearDown() override {
        StopSound();
        HeadlessGameTest::TearDown();
    }
    ScopedEnv driver{"SDL_AUDIODRIVER", "dummy"};
};
}  // namespace

TEST_F(SoundTest, ADriveFromTheMenuToTheCrashIsToldAsItHappens) {
    const std::uint32_t ticks = Cues(SoundCue::CursorMove), frames = GameSoundControls().drivingFrames;
    for (int key : {VK_DOWN, VK_UP, VK_UP}) Key(key);  // the last one stays on row 0
    EXPECT_EQ(Cues(SoundCue::CursorMove), ticks + 2);
    // Road along x: the bus starts on the right, facing left, in its lane.
    WriteMapFile("0.map", 3, 3, 2, {1, 0, 1, 0, 16, 0});
    Key(VK_RETURN);
    ASSERT_EQ(ScreenState, Driving);
    EXPECT_EQ(Cues(SoundCue::Choose), 1u);
    render_frame();  // places the bus
    Key(VK_UP);
    for (int i = 0; i < 20; ++i) Key('W');
    Key(VK_DOWN);  // rolling: the gear stays, so no clunk
    Key('Q');
    Key('L');  // to the right, across the oncoming lane into the wall
    EXPECT_EQ(Cues(SoundCue::GearChange), 1u);
    EXPECT_EQ(Cues(SoundCue::Brake), 1u);

    // Every frame tells the warning that it shows, and only that one.
    bool laneHeard = false, wallHeard = false;
    int driven = 1;
    for (; driven < 300 && ScreenState == Driving; ++driven) {
        render_frame();
        const int warnings = GameSoundControls().warnings;
        EXPECT_EQ((warnings & WarnWrongLane) != 0, offscreen->PixelAt(430, 410) == alarmSurface->PixelAt(0, 0));
        EXPECT_EQ((warnings & WarnWallContact) != 0, offscreen->PixelAt(430, 440) == alarmSurface->PixelAt(0, 30));
        EXPECT_FLOAT_EQ(GameSoundControls().speed, 7.3f);
        EXPECT_EQ(GameSoundControls().gear, 1);
        laneHeard |= (warnings & WarnWrongLane) != 0;
        wallHeard |= (warnings & WarnWallContact) != 0;
    }
    ASSERT_EQ(ScreenState, Result);
    EXPECT_TRUE(laneHeard && wallHeard);
    EXPECT_EQ(Cues(SoundCue::Crash), 1u);
    render_frame();  // the result screen tells no driving frame
    EXPECT_EQ(GameSoundControls().drivingFrames, frames + driven);
}

// The box shows 45 frames, a second and a half; its bars are the volume's tenths, rounded.
TEST_F(SoundTest, VolumeKeysChangeTheVolumeShownForAMomentAndNothingWithoutSound) {
    render_frame();
    const Colorref corner = offscreen->PixelAt(502, 10);
    GameSettings.volume = 75;
    Key(VK_ADD);
    EXPECT_EQ(SoundVolume(), 85);
    render_frame();
    const Colorref lit = Rgb(255, 255, 0), dark = Rgb(80, 80, 80);
    for (int bar = 0; bar < 10; ++bar) EXPECT_EQ(offscreen->PixelAt(524 + 7 * bar, 25), bar < 9 ? lit : dark) << bar;
    Key(VK_OEM_PLUS);
    Key(VK_OEM_PLUS);
    Key(VK_SUBTRACT);
    EXPECT_EQ(GameSettings.volume, 90);
    EXPECT_EQ(SoundVolume(), 90);
    EXPECT_EQ(menuScreen->CourseCursor, 0);
    for (int frame = 0; frame < 45; ++frame) render_frame();
    EXPECT_NE(offscreen->PixelAt(502, 10), corner);
    render_frame();
    EXPECT_EQ(offscreen->PixelAt(502, 10), corner);
    EXPECT_FALSE(VolumeShowing());

    StopSound();
    Key(VK_OEM_MINUS);
    EXPECT_EQ(GameSettings.volume, 90);
    EXPECT_FALSE(VolumeShowing());
}
