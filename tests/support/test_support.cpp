#include "support/test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/dialogs.h"

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

FakeClock::FakeClock() { SetClockForTest(this); }
FakeClock::~FakeClock() { SetClockForTest(nullptr); }

bool FakeClock::PerformanceFrequency(std::int64_t& ticksPerSecond) {
    ticksPerSecond = frequency;
    return hasHighResolution;
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

void LinkGameData() {
    for (const auto& entry : fs::directory_iterator(QUONFEL_GAME_DIR)) {
        const auto ext = entry.path().extension();
        if (ext == ".bmp" || ext == ".map") {
            std::error_code ignored;
            fs::create_symlink(entry.path(), fs::current_path() / entry.path().filename(), ignored);
        }
    }
}
