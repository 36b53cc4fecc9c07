// Text from outside the game (file names, lines of files, arguments) on the terminal.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/printable.h"
#include "platform/text_file.h"

// The path from the root, without "." and ".." steps, so that it names the same file from any
// folder; the path as given when the current folder cannot be known.
std::string AbsolutePath(const std::string& path);

// Why a file was not read, in the words every message uses: "there is no such file", "not a
// regular file", "larger than a key file can be (16 MB)" (of kind "key file", at most 16 MB
// large) or "cannot be read"; empty when it was read.
std::string WhyNotRead(OutsideFile found, const std::string& kind, std::size_t largest);

// One line on stderr when one of the game's own files, of a kind such as "map file", was there
// but not read because it is no regular file or larger than `largest` ("quonfel: the map file X
// cannot be read: not a regular file"). A missing or unreadable one says nothing.
void TellGameFileNotRead(const std::string& kind, const std::string& path, OutsideFile found, std::size_t largest);

// Reads one of the game's own files as ReadTextModeFile does and tells what TellGameFileNotRead
// tells; true when it was read. Without it the game goes on as without the file.
bool ReadGameFile(const std::string& kind, const std::string& path, std::size_t largest,
                  std::vector<std::uint8_t>& stream);

// The problems of a file as they are listed: the first 20, then "... and N more problems" for
// the rest, so that a file of junk does not flood the terminal with a line for each word.
std::vector<std::string> FirstProblems(const std::vector<std::string>& problems);
