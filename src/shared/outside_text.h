// Text from outside the game (file names, lines of files, arguments) on the terminal.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/printable.h"
#include "platform/text_file.h"

// One line on stderr when a file was there but not read because it is no regular file or is
// larger than `largest` ("quonfel: the map file X cannot be read: not a regular file"). A
// missing or unreadable file says nothing: the game goes on as without it.
void SayFileNotRead(const std::string& what, const std::string& path, OutsideFile found, std::size_t largest);

// The problems of a file as they are listed: the first 20, then "... and N more problems" for
// the rest, so that a file of junk does not flood the terminal with a line for each word.
std::vector<std::string> FirstProblems(const std::vector<std::string>& problems);
