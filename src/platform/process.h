// Ending the process at once, without the normal shutdown, and the processes it starts.
#pragma once

// Ends the process with the status (the low 8 bits reach the parent: -2 becomes 254).
// Tests and fuzzers can install a handler that must not return either (it may throw).
[[noreturn]] void ExitProcessNow(int status);
using ExitHandler = void (*)(int status);
void SetExitHandler(ExitHandler handler);  // null restores the real exit

// From the first call on, every process the game forks (its dialogs, the copy of the game in
// which SDL shows its own message box) gets SIGKILL from the kernel when the thread that
// forked it ends, which is when the game ends, whatever ends it. None stays on the screen.
void EndChildProcessesWithGame();
