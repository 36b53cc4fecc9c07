// Placeholder; replaced by the platform layer's implementation.
#include "platform/text_file.h"
bool ReadTextModeFile(const std::string&, std::vector<std::uint8_t>&) { return false; }
bool WriteTextModeFileAtomically(const std::string&, const std::vector<std::uint8_t>&) { return false; }
void SetWriteFailureAfterBytes(long) {}
bool Int32Reader::Read(std::int32_t& value) { value = 0; return false; }
void AppendInt32(std::vector<std::uint8_t>&, std::int32_t) {}
