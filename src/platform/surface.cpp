// Surfaces are SDL surfaces in XRGB8888. Plain and stretched copies are our own code, so that
// stretching behaves the same on every machine; unstretched keyed copies use SDL's run-length
// encoding of the key, which finds a picture's opaque runs once instead of in every frame.
#include "platform/surface.h"

#include <SDL.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/text_file.h"

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;
// Far above the game's largest picture (900 kB) and the map tool's largest course picture.
constexpr std::size_t kLargestBmpFile = 64u << 20;

// Colorref keeps red in the low byte, XRGB8888 keeps blue there.
std::uint32_t ToPixel(Colorref c) {
    return (static_cast<std::uint32_t>(RedOf(c)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(c)) << 8) | static_cast<std::uint32_t>(BlueOf(c));
}

Colorref ToColorref(std::uint32_t pixel) {
    return Rgb(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
               static_cast<int>(pixel & 0xFF));
}

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

// Four pixels per store where the processor allows: the compiler leaves a plain loop at one.
void FillRow(std::uint32_t* row, int count, std::uint32_t pixel) {
#ifdef __SSE2__
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; count >= 4; count -= 4, row += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(row), four);
#endif
    for (; count > 0; --count) *row++ = pixel;
}

// Each channel the average of the two, rounded up: (a | b) less half of (a ^ b).
std::uint32_t Average(std::uint32_t a, std::uint32_t b) { return (a | b) - (((a ^ b) & 0xFEFEFEFE) >> 1); }

// Half of each pixel of `from` over half of `to`, except where `from` has the key; four pixels
// at a time where the processor allows.
void MixRow(const std::uint32_t* from, std::uint32_t* to, int count, std::uint32_t key) {
    int i = 0;
#ifdef __SSE2__
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), rgb);
        const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        const __m128i keyed = _mm_cmpeq_epi32(pixels, keys);
        const __m128i mixed = _mm_avg_epu8(pixels, under);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                         _mm_or_si128(_mm_and_si128(keyed, under), _mm_andnot_si128(keyed, mixed)));
    }
#endif
    for (; i < count; ++i) {
        const std::uint32_t pixel = from[i] & kRgbMask;
        if (pixel != key) to[i] = Average(pixel, to[i]);
    }
}

void CopyRows(const std::uint32_t* from, int fromPitch, std::uint32_t* to, int toPitch, int width, int height) {
    for (int row = 0; row < height; ++row) CopyRow(from + row * fromPitch, to + row * toPitch, width);
}

bool Covers(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The one surface whose part lives in borrowed pixels (a window's), so that the window can
// have them back before it lets them go.
Surface* borrower = nullptr;

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
    // Read as every file from outside: a pipe or a device under a picture's name fails at once
    // instead of holding up the start.
    std::vector<std::uint8_t> bytes;
    if (ReadOutsideFile(path, kLargestBmpFile, bytes) != OutsideFile::Read || bytes.empty()) return nullptr;
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
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

Surface::Surface(SDL_Surface* sdl) : own_(sdl), sdl_(sdl) {}

Surface::~Surface() {
    DropKeyedRuns();
    TakeBackPart(false);
    SDL_FreeSurface(own_);
}

std::uint32_t* Surface::At(int x, int y) {
    return Pixels() + (y - heldAt_.y) * PitchInPixels() + (x - heldAt_.x);
}

const std::uint32_t* Surface::At(int x, int y) const {
    return Pixels() + (y - heldAt_.y) * PitchInPixels() + (x - heldAt_.x);
}

Rect Surface::HeldPart() const { return Rect{heldAt_.x, heldAt_.y, heldAt_.x + sdl_->w, heldAt_.y + sdl_->h}; }

bool Surface::KeepPartIn(SDL_Surface* pixels, Point at) {
    if (!pixels || pixels->format->format != SDL_PIXELFORMAT_XRGB8888 || SDL_MUSTLOCK(pixels) || pixels->pitch % 4 != 0)
        return false;
    const Rect part{at.x, at.y, at.x + pixels->w, at.y + pixels->h};
    if (part.IsEmpty() || !Covers(Rect{0, 0, Width(), Height()}, part)) return false;
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(pixels->pixels, pixels->w, pixels->h, 32, pixels->pitch,
                                                           SDL_PIXELFORMAT_XRGB8888);
    if (!view) return false;
    if (borrower) borrower->TakeBackPart(true);
    TakeBackPart(true);
    DropKeyedRuns();
    CopyRows(At(at.x, at.y), PitchInPixels(), static_cast<std::uint32_t*>(view->pixels), view->pitch / 4, view->w,
             view->h);
    sdl_ = view;
    borrowed_ = pixels;
    heldAt_ = at;
    borrower = this;
    return true;
}

bool Surface::KeepsPartIn(const SDL_Surface* pixels, Point at) const {
    return !HoldsEverything() && borrowed_ == pixels && sdl_->pixels == pixels->pixels && sdl_->w == pixels->w &&
           sdl_->h == pixels->h && heldAt_.x == at.x && heldAt_.y == at.y;
}

void Surface::ReturnBorrowedPixels(const SDL_Surface* pixels, bool copyBack) {
    if (borrower && borrower->borrowed_ == pixels) borrower->TakeBackPart(copyBack);
}

void Surface::TakeBackPart(bool copyBack) {
    if (HoldsEverything()) return;
    SDL_Surface* view = sdl_;
    const Point at = heldAt_;
    sdl_ = own_;
    heldAt_ = Point{0, 0};
    borrowed_ = nullptr;
    if (borrower == this) borrower = nullptr;
    DropKeyedRuns();
    if (copyBack)
        CopyRows(static_cast<const std::uint32_t*>(view->pixels), view->pitch / 4, At(at.x, at.y), PitchInPixels(),
                 view->w, view->h);
    SDL_FreeSurface(view);
}

void Surface::DropKeyedRuns() const {
    keyPixels_ = -1;
    if (!keyedRuns_) return;
    SDL_FreeSurface(keyedRuns_);
    keyedRuns_ = nullptr;
}

// A copy of the picture that SDL encodes into runs at its first keyed copy. SDL compares
// whole pixels with the key, so the copy's spare bytes are cleared: a pixel is the key by
// its colour alone, as in every other copy.
SDL_Surface* Surface::KeyedRuns() const {
    if (keyedRuns_) return keyedRuns_;
    SDL_Surface* runs = SDL_DuplicateSurface(sdl_);
    if (!runs) return nullptr;
    for (int y = 0; y < runs->h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(runs->pixels) + y * runs->pitch);
        for (int x = 0; x < runs->w; ++x) row[x] &= kRgbMask;
    }
    if (SDL_SetColorKey(runs, SDL_TRUE, ToPixel(key_)) != 0 || SDL_SetSurfaceRLE(runs, 1) != 0) {
        SDL_FreeSurface(runs);
        return nullptr;
    }
    keyedRuns_ = runs;
    return keyedRuns_;
}

int Surface::CopyKeyed(const Rect& srcRect, int x, int y, Surface& target) const {
    SDL_Surface* runs = KeyedRuns();
    if (!runs) return kErrInvalidParams;
    SDL_Rect from{srcRect.left, srcRect.top, srcRect.Width(), srcRect.Height()};
    SDL_Rect to{x - target.heldAt_.x, y - target.heldAt_.y, 0, 0};
    return SDL_BlitSurface(runs, &from, target.sdl_, &to) == 0 ? kCopyOk : kErrInvalidParams;
}

int Surface::Width() const { return own_->w; }
int Surface::Height() const { return own_->h; }

Colorref Surface::PixelAt(int x, int y) const {
    if (!HeldPart().Contains(x, y)) return 0;
    return ToColorref(*At(x, y));
}

void Surface::SetPixel(int x, int y, Colorref colour) {
    if (!HeldPart().Contains(x, y)) return;
    *At(x, y) = ToPixel(colour);
}

void Surface::Fill(Colorref colour) { FillRect(Rect{0, 0, Width(), Height()}, colour); }

void Surface::FillRect(const Rect& rect, Colorref colour) {
    const Rect part = Intersection(rect, HeldPart());
    if (part.IsEmpty()) return;
    const std::uint32_t pixel = ToPixel(colour);
    for (int y = part.top; y < part.bottom; ++y) FillRow(At(part.left, y), part.Width(), pixel);
}

void Surface::SetColourKey(Colorref key) {
    DropKeyedRuns();
    hasKey_ = true;
    key_ = key;
}

bool Surface::HasColourKey() const { return hasKey_; }

bool Surface::HasKeyPixels() const {
    if (!hasKey_) return false;
    if (keyPixels_ < 0) {
        const std::uint32_t key = ToPixel(key_);
        keyPixels_ = 0;
        for (int y = 0; y < sdl_->h && keyPixels_ == 0; ++y) {
            const std::uint32_t* row = Pixels() + y * PitchInPixels();
            keyPixels_ = std::any_of(row, row + sdl_->w, [key](std::uint32_t p) { return (p & kRgbMask) == key; });
        }
    }
    return keyPixels_ == 1;
}

int Surface::Blt(const Rect* dstRect, const Surface& source, const Rect* srcRect, bool useSourceKey) {
    if (lost_ || source.lost_) return kErrSurfaceLost;
    const Rect src = srcRect ? *srcRect : Rect{0, 0, source.Width(), source.Height()};
    const Rect dst = dstRect ? *dstRect : Rect{0, 0, Width(), Height()};
    if (src.IsEmpty() || dst.IsEmpty() || !LiesWithin(src, source.Width(), source.Height()))
        return kErrInvalidRect;

    // A copy within one surface may overlap itself, and a surface kept partly in a window
    // has no pixels outside it: read from a snapshot.
    std::unique_ptr<Surface> snapshot;
    const Surface* from = &source;
    Rect fromRect = src;
    if (&source == this || !source.HoldsEverything()) {
        snapshot = source.Snapshot(src);
        if (!snapshot) return kErrInvalidParams;
        from = snapshot.get();
        fromRect = Rect{0, 0, src.Width(), src.Height()};
    }

    // A picture without a pixel of its key copies the same either way, and faster unkeyed.
    const bool keyed = useSourceKey && source.HasKeyPixels();
    const std::uint32_t key = ToPixel(source.key_);
    const Rect held = HeldPart();
    const int x0 = std::max(dst.left, held.left);
    const int x1 = std::min(dst.right, held.right);
    const int y0 = std::max(dst.top, held.top);
    const int y1 = std::min(dst.bottom, held.bottom);
    if (x0 >= x1 || y0 >= y1) return kCopyOk;
    DropKeyedRuns();
    // Unstretched, as every copy of a frame is: rows read and written in order.
    if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
        if (keyed) return from->CopyKeyed(fromRect, dst.left, dst.top, *this);
        const int sx = fromRect.left + (x0 - dst.left);
        const int sy = fromRect.top + (y0 - dst.top);
        CopyRows(from->Pixels() + sy * from->PitchInPixels() + sx, from->PitchInPixels(),
                 At(x0, y0), PitchInPixels(), x1 - x0, y1 - y0);
        return kCopyOk;
    }
    // The source column of every destination column, worked out once for all rows.
    std::vector<int> sourceColumn(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        sourceColumn[x - x0] = fromRect.left + SourceIndex(x - dst.left, src.Width(), dst.Width());
    for (int y = y0; y < y1; ++y) {
        const int sy = fromRect.top + SourceIndex(y - dst.top, src.Height(), dst.Height());
        const std::uint32_t* srcRow = from->Pixels() + sy * from->PitchInPixels();
        std::uint32_t* dstRow = At(x0, y);
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

int Surface::BltFastWithin(const Rect& clip, int x, int y, const Surface& source, const Rect& srcRect,
                           bool useSourceKey) {
    if (lost_ || source.lost_) return kErrSurfaceLost;
    if (srcRect.IsEmpty() || !LiesWithin(srcRect, source.Width(), source.Height())) return kErrInvalidRect;
    const Rect part{std::max(x, clip.left), std::max(y, clip.top), std::min(x + srcRect.Width(), clip.right),
                    std::min(y + srcRect.Height(), clip.bottom)};
    if (part.IsEmpty()) return kCopyOk;
    const Rect from{srcRect.left + part.left - x, srcRect.top + part.top - y, srcRect.left + part.right - x,
                    srcRect.top + part.bottom - y};
    return BltFast(part.left, part.top, source, from, useSourceKey);
}

void Surface::MixFastWithin(const Rect& clip, int x, int y, const Surface& source, const Rect& srcRect) {
    if (lost_ || source.lost_ || &source == this || !source.HoldsEverything()) return;
    const Rect from = Intersection(srcRect, Rect{0, 0, source.Width(), source.Height()});
    const Rect landing{x + from.left - srcRect.left, y + from.top - srcRect.top, x + from.right - srcRect.left,
                       y + from.bottom - srcRect.top};
    const Rect part = Intersection(Intersection(landing, clip), HeldPart());
    if (part.IsEmpty()) return;
    DropKeyedRuns();
    const std::uint32_t key = source.hasKey_ ? ToPixel(source.key_) : ~0u;
    for (int row = part.top; row < part.bottom; ++row) {
        const std::uint32_t* in = source.Pixels() + (from.top + row - landing.top) * source.PitchInPixels() +
                                  (from.left + part.left - landing.left);
        MixRow(in, At(part.left, row), part.Width(), key);
    }
}

// The pixels of a part as they read, black where none are held; with the same key.
std::unique_ptr<Surface> Surface::Snapshot(const Rect& part) const {
    auto copy = Create(part.Width(), part.Height());
    if (!copy) return nullptr;
    copy->hasKey_ = hasKey_;
    copy->key_ = key_;
    const Rect held = Intersection(part, HeldPart());
    if (held.IsEmpty()) return copy;
    CopyRows(At(held.left, held.top), PitchInPixels(),
             copy->Pixels() + (held.top - part.top) * copy->PitchInPixels() + (held.left - part.left),
             copy->PitchInPixels(), held.Width(), held.Height());
    return copy;
}

void Surface::SetLost(bool lost) { lost_ = lost; }
bool Surface::IsLost() const { return lost_; }

bool Surface::SaveBmp(const std::string& path) const {
    if (!HoldsEverything()) {
        auto whole = Snapshot(Rect{0, 0, Width(), Height()});
        return whole && whole->SaveBmp(path);
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(sdl_, SDL_PIXELFORMAT_BGR24, 0);
    if (!rgb) return false;
    const bool saved = SDL_SaveBMP(rgb, path.c_str()) == 0;
    SDL_FreeSurface(rgb);
    return saved;
}

bool Surface::BmpBytes(std::vector<std::uint8_t>& bytes) const {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(sdl_, SDL_PIXELFORMAT_BGR24, 0);
    if (!rgb) return false;
    // Rows padded to four bytes after the headers; the slack covers a longer header.
    const std::size_t row = (static_cast<std::size_t>(rgb->w) * 3 + 3) / 4 * 4;
    bytes.assign(row * static_cast<std::size_t>(rgb->h) + 1024, 0);
    SDL_RWops* memory = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    const bool saved = memory && SDL_SaveBMP_RW(rgb, memory, 0) == 0;
    const Sint64 length = saved ? SDL_RWtell(memory) : -1;
    if (memory) SDL_RWclose(memory);
    SDL_FreeSurface(rgb);
    if (length <= 0) return false;
    bytes.resize(static_cast<std::size_t>(length));
    return true;
}

std::uint32_t* Surface::Pixels() {
    DropKeyedRuns();
    return static_cast<std::uint32_t*>(sdl_->pixels);
}

SDL_Surface* Surface::Sdl() const {
    DropKeyedRuns();
    return sdl_;
}
const std::uint32_t* Surface::Pixels() const { return static_cast<const std::uint32_t*>(sdl_->pixels); }
int Surface::PitchInPixels() const { return sdl_->pitch / 4; }
