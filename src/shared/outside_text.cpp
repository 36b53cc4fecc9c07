#include "shared/outside_text.h"

#include <cstdio>

namespace {
constexpr std::size_t kProblemsNamed = 20;
}  // namespace

void SayFileNotRead(const std::string& what, const std::string& path, OutsideFile found, std::size_t largest) {
    if (found != OutsideFile::NotRegular && found != OutsideFile::TooLarge) return;
    std::fprintf(stderr, "quonfel: %s %s cannot be read: %s\n", what.c_str(), Printable(path).c_str(),
                 WhyNotRead(found, largest).c_str());
}

std::vector<std::string> FirstProblems(const std::vector<std::string>& problems) {
    if (problems.size() <= kProblemsNamed) return problems;
    std::vector<std::string> first(problems.begin(), problems.begin() + kProblemsNamed);
    const std::size_t more = problems.size() - kProblemsNamed;
    first.push_back("... and " + std::to_string(more) + " more problem" + (more == 1 ? "" : "s"));
    return first;
}
