// Text from outside the game (file names, lines of files, arguments) on the terminal.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/text_file.h"

// The text with every control character shown as \xHH (C1 controls, which UTF-8 writes as
// two bytes, as both), so that escape sequences in a file name or a file's line cannot
// retitle or clear the player's terminal. Everything else, Japanese included, is kept.
std::string Printable(const std::string& text);

// The path from the root, without "." and ".." steps, so that it names the same file from any
// folder; the path as given when the current folder cannot be known.
std::string AbsolutePath(const std::string& path);

// Why a file was not read, in the words every message uses: "there is no such file", "not a
// regular file", "larger than a key file can be (16 MB)" (of kind "key file", at most 16 MB
// large) or "cannot be read"; empty when it was read.
std::string WhyNotRead(OutsideFile found, const std::string& kind, std::size_t largest);

// Reads one of the game's own files, of a kind such as "map file", as ReadTextModeFile does; true
// when it was read. One that is there but no regular file or larger than `largest` is told in
// one line on stderr ("quonfel: the map file X cannot be read: not a regular file"); a missing
// or unreadable one says nothing: the game goes on as without it.
bool ReadGameFile(const std::string& kind, const std::string& path, std::size_t largest,
                  std::vector<std::uint8_t>& stream);
