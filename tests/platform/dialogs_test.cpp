#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
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

// While alive, processes orphaned below this one become its children, so it can wait for them.
struct AdoptOrphans {
    AdoptOrphans() { prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~AdoptOrphans() { prctl(PR_SET_CHILD_SUBREAPER, 0); }
};

// A dialog program that writes its process id to dialog.pid and stays open.
void WriteLingeringDialogProgram() {
    WriteText("zenity", "#!/bin/sh\necho $$ >dialog.pid\nexec /bin/sleep 600\n");
    chmod("zenity", 0755);
}

pid_t WaitForDialogStarted() {
    for (int tenth = 0; tenth < 300; ++tenth) {
        const std::string text = ReadText("dialog.pid");
        if (!text.empty() && text.back() == '\n') return std::atoi(text.c_str());
        usleep(100000);
    }
    return 0;
}

// Waits (generously) for an adopted process to end; a lingering one is ended here.
bool EndsByItself(pid_t adopted) {
    for (int tenth = 0; tenth < 300; ++tenth) {
        if (waitpid(adopted, nullptr, WNOHANG) == adopted) return true;
        usleep(100000);
    }
    kill(adopted, SIGKILL);
    waitpid(adopted, nullptr, 0);
    return false;
}

}  // namespace

// A game ended by a signal while a box is open takes the box along.
TEST(DialogProcesses, AnOpenDialogEndsWithTheGame) {
    ScopedWorkDir dir;
    WriteLingeringDialogProgram();
    ScopedEnv path{"PATH", dir.Path().c_str()};
    AdoptOrphans adopt;
    for (int signal : {SIGTERM, SIGHUP}) {
        std::remove("dialog.pid");
        const pid_t game = fork();
        ASSERT_GE(game, 0);
        if (game == 0) {
            MessageBox("テキスト", "Ｑｕｏｎｆｅｌ", MB_OK);
            _exit(0);
        }
        const pid_t dialog = WaitForDialogStarted();
        ASSERT_GT(dialog, 0) << "the dialog did not start";
        kill(game, signal);
        int status = 0;
        ASSERT_EQ(waitpid(game, &status, 0), game);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_TRUE(EndsByItself(dialog)) << "the dialog stayed after signal " << signal;
    }
}

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
