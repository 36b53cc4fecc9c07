#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/dialogs.h"
#include "platform/process.h"

namespace {
std::string workFolder;

[[noreturn]] void ThrowExit(int status) { throw ProcessExitRequest{status}; }

std::string TemporaryRoot() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path().string();
}
}  // namespace

void PrepareReaderFuzzing() {
    std::string pattern = TemporaryRoot() + "/quonfel-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    workFolder = pattern;
    std::filesystem::current_path(workFolder);
    SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return 1; });
    SetOpenFileHandler([](const OpenFileRequest&, std::string&) { return false; });
    SetExitHandler(ThrowExit);
    // The folder goes when the fuzzer ends normally; a crash leaves it for a look.
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(workFolder, ignored);
    });
}

std::string FuzzFilePath(const std::string& name) { return workFolder + "/" + name; }

void WriteFuzzInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(FuzzFilePath(name).c_str(), "wb");
    if (!file) {
        std::perror("fopen");
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

void FuzzExpect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz expectation failed: %s\n", what);
    std::abort();
}
