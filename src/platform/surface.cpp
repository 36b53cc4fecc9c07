// Placeholder; replaced by the platform layer's implementation.
#include "platform/surface.h"
std::unique_ptr<Surface> Surface::Create(int, int) { return nullptr; }
std::unique_ptr<Surface> Surface::LoadBmp(const std::string&) { return nullptr; }
Surface::Surface(SDL_Surface* sdl) : sdl_(sdl) {}
Surface::~Surface() = default;
int Surface::Width() const { return 0; }
int Surface::Height() const { return 0; }
Colorref Surface::PixelAt(int, int) const { return 0; }
void Surface::SetPixel(int, int, Colorref) {}
void Surface::Fill(Colorref) {}
void Surface::FillRect(const Rect&, Colorref) {}
void Surface::SetColourKey(Colorref key) { hasKey_ = true; key_ = key; }
bool Surface::HasColourKey() const { return hasKey_; }
int Surface::Blt(const Rect*, const Surface&, const Rect*, bool) { return kErrSurfaceLost; }
int Surface::BltFast(int, int, const Surface&, const Rect&, bool) { return kErrSurfaceLost; }
void Surface::SetLost(bool lost) { lost_ = lost; }
bool Surface::IsLost() const { return lost_; }
bool Surface::SaveBmp(const std::string&) const { return false; }
std::uint32_t* Surface::Pixels() { return nullptr; }
const std::uint32_t* Surface::Pixels() const { return nullptr; }
int Surface::PitchInPixels() const { return 0; }
