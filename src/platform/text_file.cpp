// The game's files keep the line ends of the Windows text mode they were designed with.
#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_save.h"

namespace {

std::vector<std::uint8_t> WithCrLf(const std::vector<std::uint8_t>& stream) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(stream.size() + stream.size() / 8);
    for (std::uint8_t b : stream) {
        if (b == 0x0A) bytes.push_back(0x0D);
        bytes.push_back(b);
    }
    return bytes;
}

// Reads at most `largest` + 1 bytes, so that a file grown since its size was taken is seen.
OutsideFile ReadUpTo(int fd, std::size_t largest, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::uint8_t buffer[1 << 16];
    while (bytes.size() <= largest) {
        const ssize_t got = read(fd, buffer, std::min(sizeof buffer, largest + 1 - bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return OutsideFile::Unreadable;
        if (got == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes.size() > largest ? OutsideFile::TooLarge : OutsideFile::Read;
}

}  // namespace

// The file is opened first and then looked at, so that what is read is what was looked at; a
// pipe is opened without waiting for a writer.
std::vector<std::uint8_t> WithoutCrLf(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> stream;
    stream.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == 0x0D && i + 1 < raw.size() && raw[i + 1] == 0x0A) continue;
        stream.push_back(raw[i]);
    }
    return stream;
}

OutsideFile ReadOutsideFile(const std::string& path, std::size_t largest, std::vector<std::uint8_t>& bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? OutsideFile::Missing : OutsideFile::Unreadable;
    struct stat status {};
    OutsideFile found = OutsideFile::Read;
    if (fstat(fd, &status) != 0) found = OutsideFile::Unreadable;
    else if (!S_ISREG(status.st_mode)) found = OutsideFile::NotRegular;
    else if (static_cast<std::uint64_t>(status.st_size) > largest) found = OutsideFile::TooLarge;
    else found = ReadUpTo(fd, largest, bytes);
    close(fd);
    if (found != OutsideFile::Read) bytes.clear();
    return found;
}

OutsideFile ReadTextModeFile(const std::string& path, std::size_t largest, std::vector<std::uint8_t>& stream) {
    std::vector<std::uint8_t> raw;
    const OutsideFile found = ReadOutsideFile(path, largest, raw);
    stream = WithoutCrLf(raw);
    return found;
}

int WriteTextModeFile(const std::string& path, const std::vector<std::uint8_t>& stream) {
    return SaveWholeFile(path, WithCrLf(stream));
}

int SaveMergedTextModeFile(const std::string& path, std::size_t largest,
                           const MergeWithSaved& merge) {
    return SaveMergedFile(path, largest, [&merge](const std::vector<std::uint8_t>* saved, std::vector<std::uint8_t>& bytes) {
        const std::vector<std::uint8_t> savedStream = saved ? WithoutCrLf(*saved) : std::vector<std::uint8_t>();
        std::vector<std::uint8_t> stream;
        if (!merge(saved ? &savedStream : nullptr, stream)) return false;
        bytes = WithCrLf(stream);
        return true;
    });
}

bool Int32Reader::Read(std::int32_t& value) {
    value = 0;
    if (stream_.size() - offset_ < 4) return false;
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(stream_[offset_ + i]) << (8 * i);
    offset_ += 4;
    value = static_cast<std::int32_t>(bits);
    return true;
}

void AppendInt32(std::vector<std::uint8_t>& stream, std::int32_t value) {
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) stream.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

std::string TrimmedBlanks(const std::string& text) {
    const char* const blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
