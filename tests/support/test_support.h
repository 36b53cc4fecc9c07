// Shared helpers for the tests: a fresh working folder per test, the settable clock
// (platform/clock.h), recorded message boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"

// Makes a new empty folder the current directory for the life of the object.
class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    const std::string& Path() const { return path_; }
private:
    std::string path_;
    std::string previous_;
};

// Sets an environment variable (or unsets it, for nullptr) for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
private:
    std::string name_;
    bool wasSet_;
    std::string previous_;
};

struct RecordedBox {
    std::string text;
    std::string caption;
    unsigned type;
};

// Message boxes are recorded instead of shown while the object lives.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<RecordedBox> boxes;
};

// Bytes of a file, empty when it cannot be read.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// The names in the current folder, sorted.
std::vector<std::string> FilesHere();
// Runs the body in a child process that has no power over file permissions (it becomes the
// user nobody when the tests run as root, who ignores them) and tells whether it passed:
// failed expectations inside the body count.
bool PassesWithoutPrivileges(const std::function<void()>& body);
// Makes this process the user PassesWithoutPrivileges runs its body as (root only); false when
// that cannot be done.
bool DropPrivileges();
// Gives the file to the user PassesWithoutPrivileges runs its body as.
void GiveToUnprivilegedUser(const std::string& path);
// The id of a process that has already ended.
int EndedProcessId();

// A map file in the game's text-mode storage: version, counts, then the cells x-major.
void WriteMapFile(const std::string& name, int version, int xCount, int yCount,
                  const std::vector<std::int32_t>& cells);
// Links the game's data files (bitmaps, courses) into the current directory.
void LinkGameData();

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// Signed 32-bit little-endian values, as map files hold them.
std::vector<std::uint8_t> Int32s(const std::vector<std::int32_t>& values);

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};
// Runs the game folder's quonfel-map with arguments (a shell line) in the current folder.
ProgramRun RunMapTool(const std::string& arguments);
