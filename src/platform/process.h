// Ending the process at once, without the normal shutdown.
#pragma once

// Ends the process with the status (the low 8 bits reach the parent: -2 becomes 254).
// Tests and fuzzers can install a handler that must not return either (it may throw).
[[noreturn]] void ExitProcessNow(int status);
using ExitHandler = void (*)(int status);
void SetExitHandler(ExitHandler handler);  // null restores the real exit
