#include "shared/outside_text.h"

#include <cstdio>
#include <filesystem>

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The second byte of a C1 control (U+0080 to U+009F) after its lead byte 0xC2.
bool IsC1Tail(unsigned char c) { return c >= 0x80 && c <= 0x9F; }

void AppendEscaped(std::string& out, unsigned char c) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
    out += escaped;
}

// "16 MB", "64 kB": every limit of ours is a whole number of kB.
std::string SizeWords(std::size_t bytes) {
    return bytes % (1u << 20) == 0 ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes / 1024) + " kB";
}

}  // namespace

std::string Printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() && IsC1Tail(static_cast<unsigned char>(text[i + 1]));
        if (c1) {
            AppendEscaped(out, c);
            AppendEscaped(out, static_cast<unsigned char>(text[++i]));
        } else if (IsControl(c)) {
            AppendEscaped(out, c);
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string WhyNotRead(OutsideFile found, const std::string& kind, std::size_t largest) {
    switch (found) {
    case OutsideFile::Missing: return "there is no such file";
    case OutsideFile::NotRegular: return "not a regular file";
    case OutsideFile::TooLarge: return "larger than a " + kind + " can be (" + SizeWords(largest) + ")";
    case OutsideFile::Unreadable: return "cannot be read";
    case OutsideFile::Read: break;
    }
    return "";
}

bool ReadGameFile(const std::string& kind, const std::string& path, std::size_t largest,
                  std::vector<std::uint8_t>& stream) {
    const OutsideFile found = ReadTextModeFile(path, largest, stream);
    if (found == OutsideFile::NotRegular || found == OutsideFile::TooLarge) {
        std::fprintf(stderr, "quonfel: the %s %s cannot be read: %s\n", kind.c_str(), Printable(path).c_str(),
                     WhyNotRead(found, kind, largest).c_str());
    }
    return found == OutsideFile::Read;
}
