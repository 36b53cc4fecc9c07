#include "app/challenge_to_play.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/map_to_play.h"
#include "platform/file_save.h"
#include "platform/text_file.h"
#include "replays/challenge.h"
#include "replays/ghost.h"
#include "shared/game_folder.h"
#include "shared/outside_text.h"

namespace fs = std::filesystem;

namespace {
const char* const kShelfFolder = "courses";
// Names tried for a course whose name is taken by another course: "Loop-2.map" and on.
constexpr int kNamesTried = 100;

void Tell(const std::string& path, const std::string& what) {
    std::fprintf(stderr, "quonfel: %s: %s\n", Printable(path).c_str(), Printable(what).c_str());
}

// The course's copy on the shelf: one with the same bytes is taken as it is, and a file of
// another course is never written over. Empty when none can be made.
std::string PutOnShelf(const Challenge& challenge, std::string& why) {
    const std::string folder = InGameFolder(kShelfFolder);
    std::error_code error;
    fs::create_directories(folder, error);
    const std::string stem = (fs::path(folder) / ChallengeFileStem(challenge.name)).string();
    for (int n = 1; n <= kNamesTried; ++n) {
        const std::string path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".map";
        std::vector<std::uint8_t> there;
        const OutsideFile found = ReadOutsideFile(path, kLargestMapFile, there);
        if (found == OutsideFile::Read && there == challenge.map) return path;
        if (found != OutsideFile::Missing || fs::is_symlink(fs::symlink_status(path, error))) continue;
        const int failure = SaveWholeFile(path, challenge.map);
        if (failure == 0) return path;
        why = path + ": " + std::strerror(failure);
        return "";
    }
    why = stem + ".map: " + std::to_string(kNamesTried) + " other courses already have that name";
    return "";
}
}  // namespace

bool PrepareChallengeToPlay(const std::string& path) {
    Challenge challenge;
    DriveRecord drive;
    const std::string problem = ReadChallengeFile(path, challenge, drive);
    if (!problem.empty()) {
        Tell(path, problem);
        return false;
    }
    std::string why;
    const std::string onShelf = PutOnShelf(challenge, why);
    if (onShelf.empty()) {
        Tell(path, "its course cannot be put on the shelf: " + why);
        return false;
    }
    if (!PrepareMapToPlay(onShelf)) return false;
    drive.mapFile = AbsolutePath(onShelf);
    PrepareGhostDrive(drive);
    return true;
}
