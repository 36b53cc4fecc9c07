// Ending the process at once: no buffers are flushed and no destructors run. Starting another
// program: fork twice, so that the program is nobody's child here and leaves no zombie.
#include "platform/process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace {
ExitHandler exitHandler = nullptr;
pid_t forkingProcess = 0;
// Set in the first child of a detached start only: the program it forks is to outlive the game.
bool startingDetached = false;

void NoteForkingProcess() { forkingProcess = getpid(); }

// In the new child, where only calls that are safe after fork may run.
void EndWithParent() {
    if (startingDetached) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != forkingProcess) _exit(127);  // the game ended before the line above
}

// The grandchild, between fork and exec: only calls that are safe there. Every file but the
// standard ones closes at exec, the report pipe too, so a read of it ends at the exec.
[[noreturn]] void BecomeProgram(char* const argv[], const char* folder, int reportFd) {
    setsid();
    syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
    int error = 0;
    if (chdir(folder) != 0) error = errno;
    if (error == 0) {
        execv(argv[0], argv);
        error = errno;
    }
    (void)!write(reportFd, &error, sizeof error);
    _exit(127);
}
}  // namespace

void ExitProcessNow(int status) {
    if (exitHandler) exitHandler(status);
    std::_Exit(status);
}

void SetExitHandler(ExitHandler handler) { exitHandler = handler; }

void EndChildProcessesWithGame() {
    static const bool installed = pthread_atfork(NoteForkingProcess, nullptr, EndWithParent) == 0;
    (void)installed;
}

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

int StartDetachedProgram(const std::vector<std::string>& argv, const std::string& folder) {
    if (argv.empty()) return EINVAL;
    std::vector<char*> pointers;
    for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return errno;
    const pid_t child = fork();
    if (child == 0) {
        startingDetached = true;
        const pid_t program = fork();
        if (program == 0) BecomeProgram(pointers.data(), folder.c_str(), report[1]);
        const int error = program < 0 ? errno : 0;
        if (error != 0) (void)!write(report[1], &error, sizeof error);
        _exit(0);
    }
    const int forkError = child < 0 ? errno : 0;
    close(report[1]);
    if (child > 0) waitpid(child, nullptr, 0);
    int error = 0;
    // Nothing to read once the program runs; the reason when it does not.
    ssize_t got = 0;
    while (forkError == 0 && (got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    if (got != static_cast<ssize_t>(sizeof error)) error = 0;
    close(report[0]);
    return forkError != 0 ? forkError : error;
}
