// Surfaces are SDL surfaces in XRGB8888. The copies are our own code, so that stretching
// and the colour key behave the same on every machine.
#include "platform/surface.h"

#include <SDL.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

// Colorref keeps red in the low byte, XRGB8888 keeps blue there.
std::uint32_t ToPixel(Colorref c) {
    return (static_cast<std::uint32_t>(RedOf(c)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(c)) << 8) | static_cast<std::uint32_t>(BlueOf(c));
}

Colorref ToColorref(std::uint32_t pixel) {
    return Rgb(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
               static_cast<int>(pixel & 0xFF));
}

bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool LiesWithin(const Rect& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

// Nearest-pixel source index for destination offset i of a span of dstLength pixels
// showing srcLength pixels. A one-pixel stretch repeats the first pixel.
int SourceIndex(int i, int srcLength, int dstLength) {
    return static_cast<int>(static_cast<std::int64_t>(i) * srcLength / dstLength);
}

// Every writer keeps the spare byte zero, so a row is copied as it stands.
void CopyRow(const std::uint32_t* from, std::uint32_t* to, int count) {
    if (count > 0) std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof *from);
}

// The first index from i on whose pixel is (wantKey) or is not (!wantKey) the key; count
// when there is none. Four pixels are compared at a time where the processor allows.
int NextIndexWhere(const std::uint32_t* row, int i, int count, std::uint32_t key, bool wantKey) {
#ifdef __SSE2__
    const __m128i colourBits = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    const int noneMatch = wantKey ? 0x0 : 0xF;
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)), colourBits);
        if (_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(pixels, keys))) != noneMatch) break;
    }
#endif
    while (i < count && ((row[i] & kRgbMask) == key) != wantKey) ++i;
    return i;
}

// Runs of pixels that are not the key are copied whole; key pixels leave the row as it was.
void CopyRowKeyed(const std::uint32_t* from, std::uint32_t* to, int count, std::uint32_t key) {
    int i = 0;
    while (i < count) {
        const int runStart = NextIndexWhere(from, i, count, key, false);
        i = NextIndexWhere(from, runStart, count, key, true);
        CopyRow(from + runStart, to + runStart, i - runStart);
    }
}

void CopyRows(const std::uint32_t* from, int fromPitch, std::uint32_t* to, int toPitch, int width, int height,
              bool keyed, std::uint32_t key) {
    for (int row = 0; row < height; ++row) {
        if (keyed) {
            CopyRowKeyed(from + row * fromPitch, to + row * toPitch, width, key);
        } else {
            CopyRow(from + row * fromPitch, to + row * toPitch, width);
        }
    }
}

}  // namespace

std::unique_ptr<Surface> Surface::Create(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    SDL_Surface* sdl = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
    if (!sdl) return nullptr;
    std::unique_ptr<Surface> surface(new Surface(sdl));
    surface->Fill(Rgb(0, 0, 0));
    return surface;
}

std::unique_ptr<Surface> Surface::LoadBmp(const std::string& path) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) return nullptr;
    // Converted before any key is set: a key looked up in a palette would match the nearest
    // palette colour instead of magenta.
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return nullptr;
    std::unique_ptr<Surface> surface(new Surface(converted));
    // The spare byte is not part of the colour; keep it zero so pixels compare cleanly.
    for (int y = 0; y < surface->Height(); ++y) {
        std::uint32_t* row = surface->Pixels() + y * surface->PitchInPixels();
        for (int x = 0; x < surface->Width(); ++x) row[x] &= kRgbMask;
    }
    return surface;
}

Surface::Surface(SDL_Surface* sdl) : sdl_(sdl) {}

Surface::~Surface() { SDL_FreeSurface(sdl_); }

int Surface::Width() const { return sdl_->w; }
int Surface::Height() const { return sdl_->h; }

Colorref Surface::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return ToColorref(Pixels()[y * PitchInPixels() + x]);
}

void Surface::SetPixel(int x, int y, Colorref colour) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    Pixels()[y * PitchInPixels() + x] = ToPixel(colour);
}

void Surface::Fill(Colorref colour) { FillRect(Rect{0, 0, Width(), Height()}, colour); }

void Surface::FillRect(const Rect& rect, Colorref colour) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, Width());
    const int bottom = std::min(rect.bottom, Height());
    const std::uint32_t pixel = ToPixel(colour);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = Pixels() + y * PitchInPixels();
        std::fill(row + left, row + std::max(left, right), pixel);
    }
}

void Surface::SetColourKey(Colorref key) {
    hasKey_ = true;
    key_ = key;
}

bool Surface::HasColourKey() const { return hasKey_; }

int Surface::Blt(const Rect* dstRect, const Surface& source, const Rect* srcRect, bool useSourceKey) {
    if (lost_ || source.lost_) return kErrSurfaceLost;
    const Rect src = srcRect ? *srcRect : Rect{0, 0, source.Width(), source.Height()};
    const Rect dst = dstRect ? *dstRect : Rect{0, 0, Width(), Height()};
    if (IsEmpty(src) || IsEmpty(dst) || !LiesWithin(src, source.Width(), source.Height()))
        return kErrInvalidRect;

    // A copy within one surface may overlap itself: read from a snapshot.
    std::unique_ptr<Surface> snapshot;
    const Surface* from = &source;
    Rect fromRect = src;
    if (&source == this) {
        snapshot = Create(src.Width(), src.Height());
        if (!snapshot) return kErrInvalidParams;
        snapshot->Blt(nullptr, *this, &src, false);
        from = snapshot.get();
        fromRect = Rect{0, 0, src.Width(), src.Height()};
    }

    const bool keyed = useSourceKey && source.hasKey_;
    const std::uint32_t key = ToPixel(source.key_);
    const int x0 = std::max(dst.left, 0);
    const int x1 = std::min(dst.right, Width());
    const int y0 = std::max(dst.top, 0);
    const int y1 = std::min(dst.bottom, Height());
    if (x0 >= x1 || y0 >= y1) return kCopyOk;
    // Unstretched, as every copy of a frame is: rows read and written in order.
    if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
        const int sx = fromRect.left + (x0 - dst.left);
        const int sy = fromRect.top + (y0 - dst.top);
        CopyRows(from->Pixels() + sy * from->PitchInPixels() + sx, from->PitchInPixels(),
                 Pixels() + y0 * PitchInPixels() + x0, PitchInPixels(), x1 - x0, y1 - y0, keyed, key);
        return kCopyOk;
    }
    // The source column of every destination column, worked out once for all rows.
    std::vector<int> sourceColumn(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        sourceColumn[x - x0] = fromRect.left + SourceIndex(x - dst.left, src.Width(), dst.Width());
    for (int y = y0; y < y1; ++y) {
        const int sy = fromRect.top + SourceIndex(y - dst.top, src.Height(), dst.Height());
        const std::uint32_t* srcRow = from->Pixels() + sy * from->PitchInPixels();
        std::uint32_t* dstRow = Pixels() + y * PitchInPixels() + x0;
        for (int i = 0; i < x1 - x0; ++i) {
            const std::uint32_t pixel = srcRow[sourceColumn[i]] & kRgbMask;
            if (keyed && pixel == key) continue;
            dstRow[i] = pixel;
        }
    }
    return kCopyOk;
}

int Surface::BltFast(int x, int y, const Surface& source, const Rect& srcRect, bool useSourceKey) {
    const Rect dst{x, y, x + srcRect.Width(), y + srcRect.Height()};
    return Blt(&dst, source, &srcRect, useSourceKey);
}

void Surface::SetLost(bool lost) { lost_ = lost; }
bool Surface::IsLost() const { return lost_; }

bool Surface::SaveBmp(const std::string& path) const {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(sdl_, SDL_PIXELFORMAT_BGR24, 0);
    if (!rgb) return false;
    const bool saved = SDL_SaveBMP(rgb, path.c_str()) == 0;
    SDL_FreeSurface(rgb);
    return saved;
}

std::uint32_t* Surface::Pixels() { return static_cast<std::uint32_t*>(sdl_->pixels); }
const std::uint32_t* Surface::Pixels() const { return static_cast<const std::uint32_t*>(sdl_->pixels); }
int Surface::PitchInPixels() const { return sdl_->pitch / 4; }
