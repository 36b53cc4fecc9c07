#include "support/test_support.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/dialogs.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

ScopedWorkDir::ScopedWorkDir() {
    previous_ = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "quonfel-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    path_ = mkdtemp(buffer.data());
    fs::current_path(path_);
}

ScopedWorkDir::~ScopedWorkDir() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name), wasSet_(std::getenv(name) != nullptr) {
    if (wasSet_) previous_ = std::getenv(name);
    if (value) setenv(name, value, 1);
    else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (wasSet_) setenv(name_.c_str(), previous_.c_str(), 1);
    else unsetenv(name_.c_str());
}

MessageBoxRecorder::MessageBoxRecorder() {
    SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned type) {
        boxes.push_back({text, caption, type});
        return 1;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(nullptr); }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FilesHere() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool DropPrivileges() {
    const passwd* nobody = getpwnam("nobody");
    return geteuid() != 0 || (nobody != nullptr && setgroups(0, nullptr) == 0 && setgid(nobody->pw_gid) == 0 &&
                              setuid(nobody->pw_uid) == 0);
}

bool PassesWithoutPrivileges(const std::function<void()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (!DropPrivileges()) {
            std::fprintf(stderr, "cannot become the user nobody\n");
            _exit(2);
        }
        body();
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void GiveToUnprivilegedUser(const std::string& path) {
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() == 0 && nobody != nullptr) {
        EXPECT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
}

int EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

void WriteMapFile(const std::string& name, int version, int xCount, int yCount,
                  const std::vector<std::int32_t>& cells) {
    std::vector<std::uint8_t> stream;
    for (std::int32_t value : {version, xCount, yCount}) AppendInt32(stream, value);
    for (std::int32_t cell : cells) AppendInt32(stream, cell);
    WriteTextModeFile(name, stream);
}

void LinkGameData() {
    for (const auto& entry : fs::directory_iterator(QUONFEL_GAME_DIR)) {
        const auto ext = entry.path().extension();
        if (ext == ".bmp" || ext == ".map") {
            std::error_code ignored;
            fs::create_symlink(entry.path(), fs::current_path() / entry.path().filename(), ignored);
        }
    }
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::uint8_t> Int32s(const std::vector<std::int32_t>& values) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t value : values) {
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return bytes;
}

ProgramRun RunMapTool(const std::string& arguments) {
    std::string command = "'" + std::string(QUONFEL_GAME_DIR) + "/quonfel-map' " + arguments + " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText("out.txt"), ReadText("err.txt")};
}
