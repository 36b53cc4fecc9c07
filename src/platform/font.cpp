// Placeholder; replaced by the platform layer's implementation.
#include "platform/font.h"
std::shared_ptr<Font> Font::Create(const std::string&, int, int) { return nullptr; }
std::shared_ptr<Font> Font::Default() { return nullptr; }
Font::Font(_TTF_Font* ttf, int height, std::string path) : ttf_(ttf), height_(height), path_(std::move(path)) {}
Font::~Font() = default;
int Font::TextWidth(const std::string&) const { return 0; }
std::string ResolveFontFile(const std::string&, int) { return {}; }
