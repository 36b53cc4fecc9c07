// How the game ends when its display goes away or a signal asks it to stop.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/window.h"

namespace {

LParam DefaultProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam) {
    return window->DefWindowProc(message, wParam, lParam);
}

std::unique_ptr<Window> OpenWindow() { return Window::Create(DefaultProc, "QuonfelTest", "テスト", 0, 0, 64, 48); }

// Breaks the process's connections to the X server as a server that went away does.
void CutDisplayConnections() {
    for (int fd = 3; fd < 1024; ++fd) {
        sockaddr_un peer{};
        socklen_t length = sizeof peer;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sun_family != AF_UNIX) continue;
        const std::size_t pathLength = length - offsetof(sockaddr_un, sun_path);
        if (memmem(peer.sun_path, pathLength, ".X11-unix", 9)) shutdown(fd, SHUT_RDWR);
    }
}

// Each case runs in a fresh process of its own, so that cutting its connection leaves the
// test program's own display alone.
class GameEnding : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

}  // namespace

TEST_F(GameEnding, ALostDisplayEndsTheProcessAtOnceWithStatusOneAndOneLine) {
    EXPECT_EXIT(
        {
            auto window = OpenWindow();
            // Neither exit handlers nor the window's destructor may run on the way out.
            std::atexit([] { _exit(9); });
            CutDisplayConnections();
            Message message;
            for (;;) {
                window->PeekMessage(message);
                window->WaitForEvent(10);
            }
        },
        ::testing::ExitedWithCode(1), "^quonfel: the connection to the display was lost\n$");
}

TEST_F(GameEnding, TerminationSignalsKeepTheirDefaultAction) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                auto window = OpenWindow();
                raise(signal);
                _exit(0);  // reached only when the signal was caught
            },
            ::testing::KilledBySignal(signal), "")
            << "signal " << signal;
    }
}
