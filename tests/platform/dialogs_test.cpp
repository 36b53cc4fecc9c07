#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/dialogs.h"
#include "support/test_support.h"

namespace {

const std::vector<FileFilter> kMapFilters = {{"Map Files(*.map)", "*.map"}, {"All Files(*.*)", "*.*"}};

bool Has(const std::vector<std::string>& argv, const std::string& arg) {
    for (const auto& a : argv)
        if (a == arg) return true;
    return false;
}

// Points PATH at an empty folder and DISPLAY nowhere while alive: no dialog can show.
struct NoDialogProgram {
    ScopedWorkDir dir;
    ScopedEnv path{"PATH", dir.Path().c_str()};
    ScopedEnv display{"DISPLAY", nullptr};
};

}  // namespace

TEST(DialogCommandLines, MessageBoxesAreInfoOrErrorWithTheTextTakenLiterally) {
    const auto plain = MessageBoxArguments("render_frame(offscreen->primary) Blt Error ", "Blt Error!", MB_OK);
    EXPECT_EQ(plain[0], "zenity");
    EXPECT_TRUE(Has(plain, "--info"));
    EXPECT_FALSE(Has(plain, "--error"));
    EXPECT_TRUE(Has(plain, "--no-markup"));
    EXPECT_TRUE(Has(plain, "--title=Blt Error!"));
    EXPECT_TRUE(Has(plain, "--text=render_frame(offscreen->primary) Blt Error "));

    const auto error = MessageBoxArguments("Map File Read Error!!", "Read Error", MB_ICONERROR);
    EXPECT_TRUE(Has(error, "--error"));
    EXPECT_FALSE(Has(error, "--info"));
    EXPECT_TRUE(Has(error, "--no-markup"));
}

TEST(DialogCommandLines, FileDialogStartsInTheFolderWithTheChosenFilterFirst) {
    OpenFileRequest request{"ユーザ作成マップファイルの選択", kMapFilters, 1, "/home/player/quonfel"};
    auto argv = OpenFileArguments(request);
    EXPECT_EQ(argv[0], "zenity");
    EXPECT_TRUE(Has(argv, "--file-selection"));
    EXPECT_TRUE(Has(argv, "--title=ユーザ作成マップファイルの選択"));
    EXPECT_TRUE(Has(argv, "--filename=/home/player/quonfel/"));
    ASSERT_GE(argv.size(), 2u);
    EXPECT_EQ(argv[argv.size() - 2], "--file-filter=Map Files(*.map) | *.map");
    // "*.*" means every file, names without a dot included.
    EXPECT_EQ(argv.back(), "--file-filter=All Files(*.*) | *");

    request.filterIndex = 2;
    argv = OpenFileArguments(request);
    EXPECT_EQ(argv[argv.size() - 2], "--file-filter=All Files(*.*) | *");
    EXPECT_EQ(argv.back(), "--file-filter=Map Files(*.map) | *.map");

    request.filters = {{"Pictures", "*.bmp;*.*"}};
    request.filterIndex = 9;  // out of range: the first one
    request.initialDirectory = "/";
    argv = OpenFileArguments(request);
    EXPECT_TRUE(Has(argv, "--filename=/"));
    EXPECT_EQ(argv.back(), "--file-filter=Pictures | *.bmp *");
}

TEST(DialogFallbacks, WithoutAnyDialogProgramTheBoxReturnsOkAndTheFileDialogCancels) {
    NoDialogProgram none;
    const auto before = std::filesystem::current_path();
    EXPECT_EQ(MessageBox("テキスト", "Ｑｕｏｎｆｅｌ", MB_OK), 1);
    EXPECT_EQ(MessageBox("Map File Read Error!!", "Read Error", MB_ICONERROR), 1);
    std::string path = "unchanged";
    EXPECT_FALSE(GetOpenFileName(OpenFileRequest{"t", kMapFilters, 1, before.string()}, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(std::filesystem::current_path(), before);
}
