// The main of every unit test program: the tests run with a private, empty home, so that a
// player's own preferences, fonts or caches on this machine cannot change what they see.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string MakePrivateHome() {
    std::string home = (fs::temp_directory_path() / "quonfel-home-XXXXXX").string();
    return mkdtemp(home.data()) != nullptr ? home : "";
}

// The X server's key stays where it was found: the display is the machine's, not the player's.
void KeepDisplayKey() {
    const char* home = std::getenv("HOME");
    if (std::getenv("XAUTHORITY") != nullptr || home == nullptr) return;
    const std::string key = std::string(home) + "/.Xauthority";
    if (access(key.c_str(), R_OK) == 0) setenv("XAUTHORITY", key.c_str(), 1);
}

void UsePrivateHome(const std::string& home) {
    KeepDisplayKey();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("XDG_STATE_HOME", (home + "/.local/state").c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string home = MakePrivateHome();
    if (home.empty()) {
        std::perror("cannot make a private home for the tests");
        return 1;
    }
    UsePrivateHome(home);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    fs::remove_all(home, ignored);
    return result;
}
