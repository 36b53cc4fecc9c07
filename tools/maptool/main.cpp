// quonfel-map: turns the text form of a course into the map file the game reads, prints a map
// file back as text, checks either for what would keep the course from being driven, draws
// the whole course as a picture and lets a bus drive it.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "course/course_map.h"
#include "maptool/course_check.h"
#include "maptool/course_picture.h"
#include "maptool/drive_session.h"
#include "maptool/editor.h"
#include "maptool/exit_status.h"
#include "maptool/map_file.h"
#include "maptool/map_text.h"
#include "platform/file_save.h"
#include "platform/text_file.h"
#include "replays/drive_keys.h"
#include "shared/game_folder.h"
#include "shared/outside_text.h"
#include "shared/texts.h"

namespace fs = std::filesystem;

namespace {

const char* const Usage =
    "usage: quonfel-map build TEXT MAP   make a map file from a course text (checked first)\n"
    "       quonfel-map print MAP        write a map file (any version) as a course text\n"
    "       quonfel-map check FILE       list every problem of a map file or a course text\n"
    "       quonfel-map render FILE OUT.bmp [--tile N] [--lang ja|en]\n"
    "                                    draw the whole course, N pixels a tile (1 to 128, 128 by default),\n"
    "                                    the start and goal written in Japanese (the default) or English\n"
    "       quonfel-map edit FILE [--scale N|auto]\n"
    "                                    paint the course in a window, check it as you go, test-drive\n"
    "                                    it and play it; FILE is a course text or a map file, new or\n"
    "                                    not, and saving writes both (F1 in the window lists the keys)\n"
    "       quonfel-map drive FILE [--bus 0..3] [--keys OUT.keys]\n"
    "                                    let a bus of that type (0 by default) drive the course from the\n"
    "                                    start into the goal, and write the keys it pressed\n"
    "       quonfel-map --help | --version\n"
    "exit status: 0 fine (for drive: the goal was reached), 1 problems found (for drive: no goal),\n"
    "             2 wrong use, a file that cannot be read or written, or the game's pictures not found\n";

// A course text or map file: a regular file no larger than a map file may be, so that a
// folder, a pipe or a device named by mistake is answered at once. False after one line.
bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const OutsideFile found = ReadOutsideFile(path, kLargestMapFile, bytes);
    if (found == OutsideFile::Read) return true;
    // "cannot read" already says all there is to say of an unreadable file.
    const std::string why =
        found == OutsideFile::Unreadable ? "" : ": " + WhyNotRead(found, "course file", kLargestMapFile);
    std::cerr << "quonfel-map: cannot read " << Printable(path) << why << "\n";
    return false;
}

// Outputs go through the game's own safe save: a kill at any moment leaves the old file or
// the new one, never an emptied one, and a pipe or a device named by mistake is refused at
// once instead of hanging the tool. Whatever stood under the name stays when the write fails.
int WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        std::cerr << "quonfel-map: cannot write " << Printable(path) << ": not a regular file\n";
        return ExitUsage;
    }
    if (const int failure = SaveWholeFile(path, bytes); failure != 0) {
        std::cerr << "quonfel-map: cannot write " << Printable(path) << ": " << std::strerror(failure) << "\n";
        return ExitUsage;
    }
    return ExitOk;
}

void ListProblems(const std::string& path, const std::vector<std::string>& problems) {
    for (const std::string& problem : FirstProblems(problems)) std::cerr << Printable(path) << ": " << Printable(problem) << "\n";
}

// Warnings do not stop a build: the game copes with what they tell.
void ListWarnings(const std::string& path, const CourseGrid& grid) {
    for (const CourseFinding& warning : CourseWarnings(grid))
        std::cerr << Printable(path) << ": warning: " << Printable(warning.text) << "\n";
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
    if (!ReadFile(textPath, bytes)) return ExitUsage;
    CourseGrid grid;
    std::vector<std::string> problems;
    if (ParseCourseText(std::string(bytes.begin(), bytes.end()), grid, problems)) {
        problems = TextsOf(CheckCourse(grid));
        ListWarnings(textPath, grid);
    }
    if (!problems.empty()) {
        ListProblems(textPath, problems);
        std::cerr << "quonfel-map: " << Printable(mapPath) << " not written\n";
        return ExitProblems;
    }
    return WriteOutput(mapPath, EncodeMapFile(grid));
}

int Print(const std::string& mapPath) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(mapPath, bytes)) return ExitUsage;
    CourseGrid grid;
    int version = 0;
    std::vector<std::string> problems;
    bool readable = DecodeMapFile(bytes, grid, version, problems);
    ListProblems(mapPath, problems);
    if (!readable) return ExitProblems;
    std::cout << FormatCourseText(grid, "Printed from " + Printable(mapPath) + " (map file version " +
                                            std::to_string(version) + ")");
    return ExitOk;
}

int Check(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(path, bytes)) return ExitUsage;
    CourseGrid grid;
    std::vector<std::string> problems;
    if (ReadCourse(path, bytes, grid, problems)) {
        std::vector<std::string> courseProblems = TextsOf(CheckCourse(grid));
        problems.insert(problems.end(), courseProblems.begin(), courseProblems.end());
        ListWarnings(path, grid);
    }
    if (problems.empty()) {
        std::cout << Printable(path) << ": ok, " << grid.xCount << " by " << grid.yCount << " cells\n";
        return ExitOk;
    }
    ListProblems(path, problems);
    return ExitProblems;
}

// Reads a course for render and drive: ExitOk with the flaws of a usable file in flaws, or
// the status to end with after saying why it cannot be used. A file that was read but holds
// no course the game could load is a problem found, like a typo for check. The file's bytes
// are kept in bytes.
int LoadCourse(const std::string& path, std::vector<std::uint8_t>& bytes, CourseGrid& grid,
               std::vector<std::string>& flaws) {
    if (!ReadFile(path, bytes)) return ExitUsage;
    if (ReadCourse(path, bytes, grid, flaws)) {
        std::vector<std::string> sizeProblems = CountProblems(grid);
        if (sizeProblems.empty()) return ExitOk;
        flaws.insert(flaws.end(), sizeProblems.begin(), sizeProblems.end());
    }
    ListProblems(path, flaws);
    return ExitProblems;
}

// The folder this program lives in.
std::string ProgramFolder() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

int NoPictures() {
    std::cerr << "quonfel-map: " << NoTilesText(ProgramFolder(), QUONFEL_DATA_FROM_PROGRAM) << "\n";
    return ExitUsage;
}

int Render(const std::string& path, const std::string& picturePath, int tileSize) {
    std::vector<std::uint8_t> bytes;
    CourseGrid grid;
    std::vector<std::string> flaws;
    if (int status = LoadCourse(path, bytes, grid, flaws); status != ExitOk) return status;
    TilePictures tiles;
    std::string missing;
    if (!LoadGameTiles(ProgramFolder(), QUONFEL_DATA_FROM_PROGRAM, tiles, missing)) return NoPictures();
    ListProblems(path, flaws);
    ListProblems(path, CellsWithoutTile(grid));
    std::unique_ptr<Surface> picture = DrawCoursePicture(grid, tiles, tileSize);
    std::vector<std::uint8_t> bmp;
    if (!picture || !picture->BmpBytes(bmp)) {
        std::cerr << "quonfel-map: cannot draw " << Printable(picturePath) << "\n";
        return ExitUsage;
    }
    if (int status = WriteOutput(picturePath, bmp); status != ExitOk) return status;
    std::cout << Printable(picturePath) << ": " << picture->Width() << " by " << picture->Height() << " pixels\n";
    return ExitOk;
}

// The map file the game would read the course from: a map file itself, or for a course
// text the map that build makes of it, expected beside the text under its name with ".map".
std::string MapFileOf(const std::string& path, const std::vector<std::uint8_t>& bytes, const CourseGrid& grid,
                      std::uint64_t& hash) {
    std::error_code error;
    fs::path map = fs::absolute(path, error);
    if (LooksLikeMapFile(path, bytes)) {
        hash = CourseHash(bytes);
    } else {
        hash = CourseHash(EncodeMapFile(grid));
        map.replace_extension(".map");
    }
    return map.string();
}

// The keys as a drive of the user map (course 11) on the course's map file, which the game
// can watch.
int WriteKeys(const std::string& keysPath, const std::string& path, const std::vector<std::uint8_t>& bytes,
               const CourseGrid& grid, int busType, const std::string& summary, const DriveResult& result) {
    DriveRecord drive;
    drive.course = UserMapCourse;
    drive.busType = busType;
    drive.hasCourseHash = true;
    drive.mapFile = MapFileOf(path, bytes, grid, drive.courseHash);
    drive.drivingSeconds = result.seconds;
    drive.penaltySeconds = result.penalty;
    drive.scoreSeconds = result.seconds + result.penalty;
    drive.presses = result.presses;
    const std::string text = FormatDrive({"Driven by quonfel-map drive: " + summary + ".",
                        "Watch it with: quonfel --watch " + keysPath + " (the map line names the map file)",
                        "Each key line: the frame (0 places the bus) and the key pressed before it."},
                       drive);
    return WriteOutput(keysPath, std::vector<std::uint8_t>(text.begin(), text.end()));
}

int Drive(const std::string& path, int busType, const std::string& keysPath) {
    std::vector<std::uint8_t> bytes;
    CourseGrid grid;
    std::vector<std::string> problems;
    if (int status = LoadCourse(path, bytes, grid, problems); status != ExitOk) return status;
    std::vector<std::string> courseProblems = TextsOf(CheckCourse(grid));
    problems.insert(problems.end(), courseProblems.begin(), courseProblems.end());
    if (!problems.empty()) {
        ListProblems(path, problems);
        std::cerr << "quonfel-map: " << Printable(path) << " not driven\n";
        return ExitProblems;
    }
    // The game reads its pictures beside the program; the course it is given.
    const std::string pictures = FindTileFolder(ProgramFolder(), QUONFEL_DATA_FROM_PROGRAM);
    if (pictures.empty()) return NoPictures();
    SetGameFolder(pictures);
    const std::unique_ptr<DriveRun> run = DriveOfHeldCourse(grid, busType);
    while (run->Step()) {
    }
    const DriveResult& result = run->Result();
    // Only a picture the game needs could keep a checked course from starting: nothing was driven.
    if (result.end == DriveEnd::NotStarted) {
        std::cerr << "quonfel-map: the game's pictures in " << Printable(pictures) << " cannot all be loaded\n";
        return ExitUsage;
    }
    std::string summary = DriveSummary(path, busType, grid, result);
    std::cout << summary << "\n";
    if (!keysPath.empty()) {
        if (int status = WriteKeys(keysPath, path, bytes, grid, busType, summary, result); status != ExitOk)
            return status;
    }
    return result.Goal() ? ExitOk : ExitProblems;
}

// Takes "--name VALUE" out of args; false when the option is there without a value.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value) {
    for (std::size_t n = 1; n < args.size(); ++n) {
        if (args[n] != name) continue;
        if (n + 1 >= args.size()) return false;
        value = args[n + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(n), args.begin() + static_cast<std::ptrdiff_t>(n) + 2);
        return true;
    }
    return true;
}

// A whole number from low to high, and nothing else.
bool ReadNumber(const std::string& text, int low, int high, int& number) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    number = std::stoi(text);
    return number >= low && number <= high;
}

int WrongUse() {
    std::cerr << Usage;
    return ExitUsage;
}

int RenderCommand(std::vector<std::string> args) {
    std::string tile = std::to_string(CourseTileSize), language = "ja";
    int tileSize = 0;
    if (!TakeOption(args, "--tile", tile) || !ReadNumber(tile, 1, CourseTileSize, tileSize) ||
        !TakeOption(args, "--lang", language) || (language != "ja" && language != "en") || args.size() != 3)
        return WrongUse();
    GameLanguage = language == "en" ? Language::English : Language::Japanese;
    return Render(args[1], args[2], tileSize);
}

int DriveCommand(std::vector<std::string> args) {
    std::string busText = "0", keysPath;
    int busType = 0;
    if (!TakeOption(args, "--bus", busText) || !TakeOption(args, "--keys", keysPath) ||
        !ReadNumber(busText, 0, 3, busType) || args.size() != 2)
        return WrongUse();
    return Drive(args[1], busType, keysPath);
}

int Run(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << Usage;
        return ExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "quonfel-map " << QUONFEL_VERSION << "\n";
        return ExitOk;
    }
    if (args.size() == 3 && args[0] == "build") return Build(args[1], args[2]);
    if (args.size() == 2 && args[0] == "print") return Print(args[1]);
    if (args.size() == 2 && args[0] == "check") return Check(args[1]);
    if (!args.empty() && args[0] == "render") return RenderCommand(args);
    if (!args.empty() && args[0] == "drive") return DriveCommand(args);
    if (!args.empty() && args[0] == "edit") return EditCommand(args, ProgramFolder(), QUONFEL_DATA_FROM_PROGRAM);
    return WrongUse();
}

}  // namespace

// A folder that vanishes under the drive, say, ends with one line, never with an abort.
int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& failure) {
        std::cerr << "quonfel-map: " << Printable(failure.what()) << "\n";
        return ExitUsage;
    }
}
