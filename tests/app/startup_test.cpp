// Start-up's surfaces and bitmaps, shutdown, and the error log.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "app/headless_fixtures.h"
#include "platform/dialogs.h"
#include "platform/surface.h"
#include "records/stopwatch.h"
#include "shared/error_log.h"
#include "shared/globals.h"
#include "shared/texts.h"

namespace {
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ResetShellState(); }
    void TearDown() override {
        ReleaseAll();
        ResetShellState();
        GameLanguage = Language::Japanese;
    }
    ScopedWorkDir dir;
    MessageBoxRecorder boxes;
};

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
}  // namespace

TEST_F(StartupTest, SurfacesHaveTheScreenAndCourseViewSizes) {
    ASSERT_EQ(CreateSurfaces(1280, 1024), 1);
    EXPECT_EQ(offscreen->Width(), 1280);
    EXPECT_EQ(offscreen->Height(), 1024);
    EXPECT_EQ(mapscreen->Width(), 640);
    EXPECT_EQ(mapscreen->Height(), 640);
}

TEST_F(StartupTest, AFailedSurfaceEndsStartUpWithoutAMessage) {
    EXPECT_EQ(CreateSurfaces(0, 0), 0);
    EXPECT_EQ(StartupError, nullptr);
    ReleaseAll();
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(StartupTest, AllBitmapsLoadAndOnlyTheOverlaysAndTilesGetTheColourKey) {
    WriteGameBitmaps();
    ASSERT_EQ(LoadAllBitmaps(), 1);
    EXPECT_EQ(StartupError, nullptr);
    for (int n = 0; n < 24; ++n) {
        ASSERT_TRUE(TileSurfaces[n]) << n;
        EXPECT_TRUE(TileSurfaces[n]->HasColourKey()) << n;
    }
    // Each tile comes from its own file.
    EXPECT_EQ(TileSurfaces[7]->PixelAt(0, 0), Rgb(70, 100, 50));
    EXPECT_EQ(TileSurfaces[15]->PixelAt(0, 0), Rgb(150, 100, 50));
    for (auto* keyed : {&frontSurface, &backSurface, &menu1Surface, &menu2Surface}) {
        ASSERT_TRUE(*keyed);
        EXPECT_TRUE((*keyed)->HasColourKey());
    }
    for (auto* plain : {&gearSurface, &alarmSurface, &discontinueSurface, &goalinSurface, &numberSurface}) {
        ASSERT_TRUE(*plain);
        EXPECT_FALSE((*plain)->HasColourKey());
    }
    EXPECT_EQ(alarmSurface->Width(), 179);
}

TEST_F(StartupTest, MissingTwelveBmpStopsLoadingAndShutdownReportsItOnce) {
    WriteGameBitmaps("12.bmp");
    ASSERT_EQ(LoadAllBitmaps(), 0);
    EXPECT_STREQ(StartupError, "イメージのロードエラー");
    for (int n = 0; n < 24; ++n) EXPECT_EQ(static_cast<bool>(TileSurfaces[n]), n < 12) << n;
    EXPECT_FALSE(frontSurface);
    EXPECT_TRUE(boxes.boxes.empty());  // shown by shutdown, not by the loader

    ReleaseAll();
    for (int n = 0; n < 12; ++n) EXPECT_FALSE(TileSurfaces[n]) << n;
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "イメージのロードエラー");
    EXPECT_EQ(boxes.boxes[0].caption, "Ｑｕｏｎｆｅｌ");
    EXPECT_EQ(boxes.boxes[0].type, MB_OK);
    EXPECT_EQ(StartupError, nullptr);

    ReleaseAll();
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

// In English the tiles 16 to 23 come from en/; the Japanese ones beside do not stand in.
TEST_F(StartupTest, InEnglishAMissingEnglishPictureStopsStartUpInEnglish) {
    WriteGameBitmaps();
    GameLanguage = Language::English;
    ASSERT_EQ(LoadAllBitmaps(), 0);
    EXPECT_TRUE(TileSurfaces[15]);
    EXPECT_FALSE(TileSurfaces[16]);
    ReleaseAll();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Could not load the game's pictures.");
    EXPECT_EQ(boxes.boxes[0].caption, "Quonfel");
}

TEST_F(StartupTest, TheLastBitmapMissingLeavesTheOthersWithoutColourKeys) {
    WriteGameBitmaps("menu2.bmp");
    ASSERT_EQ(LoadAllBitmaps(), 0);
    EXPECT_TRUE(numberSurface);
    EXPECT_FALSE(menu2Surface);
    // The keys are set only once every file has loaded.
    EXPECT_FALSE(TileSurfaces[0]->HasColourKey());
    EXPECT_FALSE(frontSurface->HasColourKey());
}

TEST_F(StartupTest, ShutdownReleasesEverySurfaceAndObject) {
    WriteGameBitmaps();
    ASSERT_EQ(CreateSurfaces(800, 600), 1);
    ASSERT_EQ(LoadAllBitmaps(), 1);
    CreateGameObjects();
    ASSERT_TRUE(courseMap && menuScreen && bus && stopwatch && scoreTable);

    ReleaseAll();
    EXPECT_FALSE(offscreen || mapscreen || backSurface || frontSurface || menu2Surface);
    EXPECT_FALSE(TileSurfaces[23]);
    EXPECT_FALSE(courseMap || menuScreen || bus || stopwatch || scoreTable);
    EXPECT_TRUE(boxes.boxes.empty());
}

// Objects still alive when the process ends stay as they are: their SDL resources may belong
// to a display that is gone, and only ReleaseAll releases them.
TEST(GameObjectLifetime, TheRuntimeNeverDestroysThemAfterExit) {
    struct Tattletale : Stopwatch {
        ~Tattletale() override { _exit(9); }
    };
    EXPECT_EXIT(
        {
            stopwatch = std::make_unique<Tattletale>();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(StartupTest, ErrorLogHoldsExactlyTwentyBytes) {
    struct Case {
        const char* file;
        const char* format;
        int value;
        std::string expected;
    };
    const Case cases[] = {
        {"error.txt", "%02d", 7, std::string("07") + std::string(18, '\0')},
        {"error_Rectangle.txt", "Rectangle = FALSE at Handle Disp", 0, "Rectangle = FALSE at"},
        {"error_FillRgn.txt", "", 0, std::string(20, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteBytes(c.file, std::vector<std::uint8_t>(50, 'x'));  // replaced, not appended to
        WriteErrorLog(c.file, c.format, c.value);
        EXPECT_EQ(Text(ReadBytes(c.file)), c.expected);
    }
}

TEST_F(StartupTest, ErrorLogThatCannotBeCreatedIsSkipped) {
    WriteErrorLog("missing-folder/error.txt", "%02d", 1);
    EXPECT_TRUE(ReadBytes("missing-folder/error.txt").empty());
}
