// Xlib's own handler for a broken connection calls exit(), and what runs then talks to the
// dead connection again and may wait on it for ever. Ours leaves at once instead. Only Xlib
// calls it: on another video driver (Wayland) it is installed but never called.
#include "platform/display_loss.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace {

pid_t gameProcess = 0;

// A child process inherits the handler (SDL draws its own message box in one) and leaves
// quietly: the game itself says the display was lost.
[[noreturn]] int EndOnDisplayLoss(Display*) {
    static const char message[] = "quonfel: the connection to the display was lost\n";
    if (getpid() == gameProcess) {
        const ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
        (void)ignored;
    }
    _exit(1);
}

}  // namespace

void EndProcessWhenDisplayIsLost() {
    gameProcess = getpid();
    XSetIOErrorHandler(EndOnDisplayLoss);
}
