#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/process.h"
#include "support/test_support.h"

namespace {

struct ExitCalled {
    int status;
};

void ThrowingHandler(int status) { throw ExitCalled{status}; }

}  // namespace

TEST(ProcessExit, NegativeStatusesReachTheParentAsTheirLowByte) {
    EXPECT_EXIT(ExitProcessNow(-2), ::testing::ExitedWithCode(254), "");
    EXPECT_EXIT(ExitProcessNow(-3), ::testing::ExitedWithCode(253), "");
    EXPECT_EXIT(ExitProcessNow(0), ::testing::ExitedWithCode(0), "");
}

TEST(ProcessExit, InstalledHandlerIsCalledInsteadOfEnding) {
    SetExitHandler(ThrowingHandler);
    int seen = 0;
    try {
        ExitProcessNow(-3);
    } catch (const ExitCalled& e) {
        seen = e.status;
    }
    SetExitHandler(nullptr);
    EXPECT_EQ(seen, -3);
}

// The program runs in the folder given, and lives on although the game ends what it forks
// (the go-between that starts it ends at once); the caller learns at once when it cannot start.
TEST(DetachedProgram, RunsInItsFolderOrSaysWhyNot) {
    ScopedWorkDir dir;
    std::filesystem::create_directory("there");
    EndChildProcessesWithGame();
    EXPECT_EQ(StartDetachedProgram({"/bin/sh", "-c", "sleep 0.2; pwd > ../ran.tmp && mv ../ran.tmp ../ran"}, "there"), 0);
    for (int wait = 0; wait < 3000 && !std::filesystem::exists("ran"); ++wait) usleep(10000);
    EXPECT_EQ(ReadText("ran"), std::filesystem::canonical("there").string() + "\n");
    EXPECT_EQ(StartDetachedProgram({"/nonexistent/program"}, "."), ENOENT);
    EXPECT_EQ(StartDetachedProgram({"/bin/sh"}, "nowhere"), ENOENT);
}
