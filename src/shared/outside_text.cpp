#include "shared/outside_text.h"

#include <cstdio>
#include <filesystem>

namespace {
constexpr std::size_t kProblemsNamed = 20;

// "16 MB", "64 kB": every limit of ours is a whole number of kB.
std::string SizeWords(std::size_t bytes) {
    return bytes % (1u << 20) == 0 ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes / 1024) + " kB";
}

}  // namespace

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

void TellGameFileNotRead(const std::string& kind, const std::string& path, OutsideFile found, std::size_t largest) {
    if (found != OutsideFile::NotRegular && found != OutsideFile::TooLarge) return;
    std::fprintf(stderr, "quonfel: the %s %s cannot be read: %s\n", kind.c_str(), Printable(path).c_str(),
                 WhyNotRead(found, kind, largest).c_str());
}

bool ReadGameFile(const std::string& kind, const std::string& path, std::size_t largest,
                  std::vector<std::uint8_t>& stream) {
    const OutsideFile found = ReadTextModeFile(path, largest, stream);
    TellGameFileNotRead(kind, path, found, largest);
    return found == OutsideFile::Read;
}

std::vector<std::string> FirstProblems(const std::vector<std::string>& problems) {
    if (problems.size() <= kProblemsNamed) return problems;
    std::vector<std::string> first(problems.begin(), problems.begin() + kProblemsNamed);
    const std::size_t more = problems.size() - kProblemsNamed;
    first.push_back("... and " + std::to_string(more) + " more problem" + (more == 1 ? "" : "s"));
    return first;
}
