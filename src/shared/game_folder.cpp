#include "shared/game_folder.h"

#include <filesystem>

namespace {
std::string gameFolder;
}  // namespace

void SetGameFolder(const std::string& folder) { gameFolder = folder; }

std::string InGameFolder(const std::string& name) {
    if (gameFolder.empty()) return name;
    return (std::filesystem::path(gameFolder) / name).string();
}
