// The game's files keep the line ends of the Windows text mode they were designed with.
#include "platform/text_file.h"

#include <cstdio>
#include <filesystem>

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

}  // namespace

OutsideFile ReadOutsideFile(const std::string& path, std::size_t largest, std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return OutsideFile::Missing;
    if (!std::filesystem::is_regular_file(status)) return OutsideFile::NotRegular;
    if (std::filesystem::file_size(path, error) > largest) return OutsideFile::TooLarge;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return OutsideFile::Unreadable;
    bytes.clear();
    std::uint8_t buffer[1 << 16];
    std::size_t got;
    // The file may have grown since its size was taken.
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() <= largest)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed) return OutsideFile::Unreadable;
    return bytes.size() > largest ? OutsideFile::TooLarge : OutsideFile::Read;
}

bool ReadTextModeFile(const std::string& path, std::vector<std::uint8_t>& stream) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::vector<std::uint8_t> raw;
    std::uint8_t buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) raw.insert(raw.end(), buffer, buffer + got);
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed) return false;

    stream.clear();
    stream.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == 0x0D && i + 1 < raw.size() && raw[i + 1] == 0x0A) continue;
        stream.push_back(raw[i]);
    }
    return true;
}

int WriteTextModeFile(const std::string& path, const std::vector<std::uint8_t>& stream) {
    return SaveWholeFile(path, WithCrLf(stream));
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
