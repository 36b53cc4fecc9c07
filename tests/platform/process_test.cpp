#include <gtest/gtest.h>

#include "platform/process.h"

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
