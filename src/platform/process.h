// Ending the process at once, without the normal shutdown; the processes it starts, which end
// with it, and another program it starts, which does not.
#pragma once
#include <string>
#include <vector>

// Ends the process with the status (the low 8 bits reach the parent: -2 becomes 254).
// Tests and fuzzers can install a handler that must not return either (it may throw).
[[noreturn]] void ExitProcessNow(int status);
using ExitHandler = void (*)(int status);
void SetExitHandler(ExitHandler handler);  // null restores the real exit

// From the first call on, every process the game forks (its dialogs, the copy of the game in
// which SDL shows its own message box) gets SIGKILL from the kernel when the thread that
// forked it ends, which is when the game ends, whatever ends it. None stays on the screen.
void EndChildProcessesWithGame();

// Whether the path names a regular file this process may run.
bool IsExecutableFile(const std::string& path);

// Starts the program at the path argv[0] with these arguments (no shell reads them) in the
// folder, as a process of its own session: this one neither waits for it nor takes it along
// when it ends. It inherits stdout and stderr and no other file. Returns 0 once the program
// runs, else the errno value of what failed (the folder, the program, the fork).
int StartDetachedProgram(const std::vector<std::string>& argv, const std::string& folder);
