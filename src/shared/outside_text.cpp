#include "shared/outside_text.h"

#include <cstdio>

void SayFileNotRead(const std::string& what, const std::string& path, OutsideFile found, std::size_t largest) {
    if (found != OutsideFile::NotRegular && found != OutsideFile::TooLarge) return;
    std::fprintf(stderr, "quonfel: %s %s cannot be read: %s\n", what.c_str(), Printable(path).c_str(),
                 WhyNotRead(found, largest).c_str());
}
