// quonfel-map render: the whole course from the game's own tile pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/surface.h"
#include "shared/texts.h"
#include "support/course_texts.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

const int SmallCodes[4][3] = {{7, 2, 10}, {1, 0, 17}, {1, 0, 21}, {8, 2, 9}};  // [x][y]

std::unique_ptr<Surface> GameTile(int code, Language language = Language::Japanese) {
    return Surface::LoadBmp(std::string(QUONFEL_GAME_DIR) + "/" + PictureFile(std::to_string(code) + ".bmp", language));
}

// The mean of each colour channel over a square of a picture.
struct Mean {
    double red = 0, green = 0, blue = 0;
};

Mean MeanOf(const Surface& picture, int left, int top, int size) {
    Mean mean;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x) {
            Colorref c = picture.PixelAt(x, y);
            mean.red += c & 0xFF;
            mean.green += (c >> 8) & 0xFF;
            mean.blue += (c >> 16) & 0xFF;
        }
    double count = static_cast<double>(size) * size;
    return {mean.red / count, mean.green / count, mean.blue / count};
}

// In English the start and goal tiles are the English ones.
TEST(RenderCourse, EveryCellIsItsTilePictureAtFullSize) {
    for (Language language : {Language::Japanese, Language::English}) {
        ScopedWorkDir dir;
        WriteText("small.txt", SmallCourse);
        ProgramRun run = RunMapTool(language == Language::English ? "render small.txt small.bmp --lang en"
                                                                 : "render small.txt small.bmp");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "small.bmp: 512 by 384 pixels\n");
        std::unique_ptr<Surface> picture = Surface::LoadBmp("small.bmp");
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->Width(), 4 * 128);
        ASSERT_EQ(picture->Height(), 3 * 128);
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 3; ++y) {
                std::unique_ptr<Surface> tile = GameTile(SmallCodes[x][y], language);
                int differing = 0;
                for (int ty = 0; ty < 128; ++ty)
                    for (int tx = 0; tx < 128; ++tx)
                        differing += picture->PixelAt(x * 128 + tx, y * 128 + ty) != tile->PixelAt(tx, ty);
                EXPECT_EQ(differing, 0) << "cell x=" << x << ", y=" << y;
            }
    }
}

// Shrinking averages, so each small cell keeps its tile's mean colour; a value that is no
// tile code is drawn as empty ground, as the game draws it, and said so.
TEST(RenderCourse, SmallerTilesKeepEachTilesColourAndOddValuesShowAsGround) {
    ScopedWorkDir dir;
    WriteBytes("odd.map", Int32s({3, 2, 1, 17, 30}));
    ProgramRun run = RunMapTool("render odd.map odd.bmp --tile 32");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("row 1, column 2 (x=1, y=0) holds 30, not a tile code: drawn as empty ground"),
              std::string::npos)
        << run.err;
    std::unique_ptr<Surface> picture = Surface::LoadBmp("odd.bmp");
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->Width(), 64);
    ASSERT_EQ(picture->Height(), 32);
    const int codes[] = {17, 0};
    for (int x = 0; x < 2; ++x) {
        Mean want = MeanOf(*GameTile(codes[x]), 0, 0, 128);
        Mean got = MeanOf(*picture, x * 32, 0, 32);
        EXPECT_NEAR(got.red, want.red, 0.5) << "cell " << x;
        EXPECT_NEAR(got.green, want.green, 0.5) << "cell " << x;
        EXPECT_NEAR(got.blue, want.blue, 0.5) << "cell " << x;
    }
}

TEST(RenderCourse, WrongUseAndFilesThatCannotBeReadOrWrittenExitWith2) {
    ScopedWorkDir dir;
    WriteText("small.txt", SmallCourse);
    for (const char* arguments : {"render small.txt", "render small.txt a.bmp --tile 0", "render small.txt a.bmp --tile 129",
                                  "render small.txt a.bmp --tile x", "render small.txt a.bmp --tile",
                                  "render small.txt a.bmp b.bmp", "render small.txt a.bmp --lang de"})
        EXPECT_EQ(RunMapTool(arguments).status, 2) << arguments;
    EXPECT_EQ(RunMapTool("render missing.txt a.bmp").status, 2);
    ProgramRun run = RunMapTool("render small.txt no-such-folder/a.bmp");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cannot write no-such-folder/a.bmp"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists("a.bmp"));
}

}  // namespace
