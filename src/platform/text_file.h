// Files in the Windows text mode that the game's files were written with.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_save.h"

// What reading a file from outside the game found.
enum class OutsideFile { Read, Missing, NotRegular, TooLarge, Unreadable };
// Reads a whole regular file of at most `largest` bytes. A device, a pipe, a folder or a larger
// file is not read: named by mistake, it would be read for ever or fill the memory. Opening it
// never waits (a pipe without a writer).
OutsideFile ReadOutsideFile(const std::string& path, std::size_t largest, std::vector<std::uint8_t>& bytes);

// Reads a whole file as ReadOutsideFile does, turning each stored 0x0D 0x0A pair back into
// 0x0A; every other byte is taken as it is.
OutsideFile ReadTextModeFile(const std::string& path, std::size_t largest, std::vector<std::uint8_t>& stream);

// The stream a text-mode read makes of stored bytes: each 0x0D 0x0A pair as 0x0A.
std::vector<std::uint8_t> WithoutCrLf(const std::vector<std::uint8_t>& raw);

// Writes the stream with every 0x0A stored as 0x0D 0x0A, as a whole (SaveWholeFile: the old
// content or the new one, never a mixture). Returns 0, or the errno value of the failure.
int WriteTextModeFile(const std::string& path, const std::vector<std::uint8_t>& stream);
// SaveMergedFile (platform/file_save.h) for a file in this form: merge is given the stream the
// file holds (at most `largest` stored bytes) and makes the stream to write.
int SaveMergedTextModeFile(const std::string& path, std::size_t largest,
                           const MergeWithSaved& merge);

// Little-endian int32 reader over a stream; a value past the end is reported as missing.
class Int32Reader {
public:
    explicit Int32Reader(const std::vector<std::uint8_t>& stream) : stream_(stream) {}
    bool Read(std::int32_t& value);
private:
    const std::vector<std::uint8_t>& stream_;
    std::size_t offset_ = 0;
};

void AppendInt32(std::vector<std::uint8_t>& stream, std::int32_t value);

// The text without blanks, tabs and carriage returns at either end.
std::string TrimmedBlanks(const std::string& text);
