// Text from outside the game (file names, lines of files, arguments, the system's own error
// texts) made safe to print on a terminal.
#pragma once
#include <string>

// The text with every control character shown as \xHH: C0 controls, DEL, and the C1 controls
// U+0080 to U+009F both as UTF-8 (two bytes, both escaped) and as single bytes, which 8-bit
// terminals take as controls. Every byte that is not part of valid UTF-8 is escaped too, so
// that no sequence in a file name or a file's line can retitle or clear the player's terminal.
// Everything else, Japanese included, is kept.
std::string Printable(const std::string& text);
// At most `most` bytes of the text, cut at the start of a character so that none is cut in half.
std::string CutAtCharacter(const std::string& text, std::size_t most);
