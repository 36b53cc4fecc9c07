// The map tool's exit statuses, the same for every command.
#pragma once

constexpr int ExitOk = 0;
constexpr int ExitProblems = 1;  // problems found in the course, or a drive that missed the goal
constexpr int ExitUsage = 2;     // a wrong command, or a file that cannot be read or written
