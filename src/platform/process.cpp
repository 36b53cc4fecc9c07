// Ending the process at once: no buffers are flushed and no destructors run.
#include "platform/process.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace {
ExitHandler exitHandler = nullptr;
pid_t forkingProcess = 0;

void NoteForkingProcess() { forkingProcess = getpid(); }

// In the new child, where only calls that are safe after fork may run.
void EndWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != forkingProcess) _exit(127);  // the game ended before the line above
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
