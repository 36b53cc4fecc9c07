#include "shared/error_log.h"

#include <cstdarg>
#include <cstdio>

#include "shared/game_folder.h"

namespace {
constexpr int kLogBufferSize = 100;
constexpr int kLogBytesWritten = 20;
}  // namespace

void WriteErrorLog(const char* fileName, const char* format, ...) {
    std::FILE* file = std::fopen(InGameFolder(fileName).c_str(), "w");
    if (file == nullptr) return;  // a log that cannot be written is not worth a second failure

    char buffer[kLogBufferSize] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);

    // Always the same 20 bytes: short texts are padded with zeros, long ones are cut.
    std::fwrite(buffer, 1, kLogBytesWritten, file);
    std::fclose(file);
}
