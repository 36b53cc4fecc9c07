// quonfel-map: turns the text form of a course into the map file the game reads, prints a map
// file back as text, and checks either for what would keep the course from being driven.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "maptool/course_check.h"
#include "maptool/map_file.h"
#include "maptool/map_text.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitProblems = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: quonfel-map build TEXT MAP   make a map file from a course text (checked first)\n"
    "       quonfel-map print MAP        write a map file (any version) as a course text\n"
    "       quonfel-map check FILE       list every problem of a map file or a course text\n"
    "exit status: 0 fine, 1 problems found, 2 wrong use or a file that cannot be read or written\n";

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int CannotRead(const std::string& path) {
    std::cerr << "quonfel-map: cannot read " << path << "\n";
    return ExitUsage;
}

void ListProblems(const std::string& path, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) std::cerr << path << ": " << problem << "\n";
}

// Warnings do not stop a build: the game copes with what they tell.
void ListWarnings(const std::string& path, const CourseGrid& grid) {
    for (const std::string& warning : CourseWarnings(grid)) std::cerr << path << ": warning: " << warning << "\n";
}

// Reads a map file or a course text into grid; false (with problems) when it cannot be read.
bool ReadCourse(const std::string& path, const std::vector<std::uint8_t>& bytes, CourseGrid& grid,
                std::vector<std::string>& problems) {
    if (LooksLikeMapFile(path, bytes)) {
        int version = 0;
        return DecodeMapFile(bytes, grid, version, problems);
    }
    return ParseCourseText(std::string(bytes.begin(), bytes.end()), grid, problems);
}

int Build(const std::string& textPath, const std::string& mapPath) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(textPath, bytes)) return CannotRead(textPath);
    CourseGrid grid;
    std::vector<std::string> problems;
    if (ParseCourseText(std::string(bytes.begin(), bytes.end()), grid, problems)) {
        problems = CheckCourse(grid);
        ListWarnings(textPath, grid);
    }
    if (!problems.empty()) {
        ListProblems(textPath, problems);
        std::cerr << "quonfel-map: " << mapPath << " not written\n";
        return ExitProblems;
    }
    if (!WriteFile(mapPath, EncodeMapFile(grid))) {
        std::cerr << "quonfel-map: cannot write " << mapPath << "\n";
        std::remove(mapPath.c_str());
        return ExitUsage;
    }
    return ExitOk;
}

int Print(const std::string& mapPath) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(mapPath, bytes)) return CannotRead(mapPath);
    CourseGrid grid;
    int version = 0;
    std::vector<std::string> problems;
    bool readable = DecodeMapFile(bytes, grid, version, problems);
    ListProblems(mapPath, problems);
    if (!readable) return ExitProblems;
    std::cout << FormatCourseText(grid, "Printed from " + mapPath + " (map file version " +
                                            std::to_string(version) + ")");
    return ExitOk;
}

int Check(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(path, bytes)) return CannotRead(path);
    CourseGrid grid;
    std::vector<std::string> problems;
    if (ReadCourse(path, bytes, grid, problems)) {
        std::vector<std::string> courseProblems = CheckCourse(grid);
        problems.insert(problems.end(), courseProblems.begin(), courseProblems.end());
        ListWarnings(path, grid);
    }
    if (problems.empty()) {
        std::cout << path << ": ok, " << grid.xCount << " by " << grid.yCount << " cells\n";
        return ExitOk;
    }
    ListProblems(path, problems);
    return ExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "build") return Build(args[1], args[2]);
    if (args.size() == 2 && args[0] == "print") return Print(args[1]);
    if (args.size() == 2 && args[0] == "check") return Check(args[1]);
    std::cerr << Usage;
    return ExitUsage;
}
