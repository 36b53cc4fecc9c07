// A 32-bit pixel surface with rectangle copies, stretching and a source colour key.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"

struct SDL_Surface;

// Copy results: 0 is success, anything else an error code.
constexpr int kCopyOk = 0;
constexpr int kErrInvalidRect = -2005532522;   // a rectangle outside a surface or empty
constexpr int kErrSurfaceLost = -2005532222;   // the surface cannot be used any more
constexpr int kErrInvalidParams = -2147024809;

class Surface {
public:
    // A new surface of the given size, black. Null when it cannot be made.
    static std::unique_ptr<Surface> Create(int width, int height);
    // One bitmap file into a new surface of the bitmap's own size. Null on any failure.
    static std::unique_ptr<Surface> LoadBmp(const std::string& path);

    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const;
    int Height() const;

    // Pixels outside the surface read as 0 and are not written.
    Colorref PixelAt(int x, int y) const;
    void SetPixel(int x, int y, Colorref colour);
    void Fill(Colorref colour);
    void FillRect(const Rect& rect, Colorref colour);

    // The source colour key that keyed copies from this surface use.
    void SetColourKey(Colorref key);
    bool HasColourKey() const;
    // Whether a keyed copy from this surface would leave any destination pixel alone: it has
    // a key and some pixel of the key's colour.
    bool HasKeyPixels() const;

    // Copies srcRect of source onto dstRect of this surface (null means the whole surface).
    // Different sizes stretch by nearest pixel. With useSourceKey the pixels of source
    // equal to its colour key leave this surface unchanged. Parts outside this surface are
    // clipped; a source rectangle outside the source fails with kErrInvalidRect.
    int Blt(const Rect* dstRect, const Surface& source, const Rect* srcRect, bool useSourceKey);
    // Unstretched copy of srcRect to (x, y).
    int BltFast(int x, int y, const Surface& source, const Rect& srcRect, bool useSourceKey);
    // The part of that copy that lands inside clip; the rest of this surface is left alone.
    // It fails exactly when the whole copy would.
    int BltFastWithin(const Rect& clip, int x, int y, const Surface& source, const Rect& srcRect,
                      bool useSourceKey);

    // A see-through copy: like BltFastWithin with the source's key, but each copied pixel
    // becomes half its own colour and half the colour it lands on. Nothing is copied from
    // outside the source or to outside this surface.
    void MixFastWithin(const Rect& clip, int x, int y, const Surface& source, const Rect& srcRect);

    // A lost surface fails every copy and refuses drawing contexts (as after a mode change).
    void SetLost(bool lost);
    bool IsLost() const;

    // Writes a 24-bit BMP file; false on failure.
    bool SaveBmp(const std::string& path) const;
    // The same picture as the bytes of a BMP file, to be saved by the caller.
    bool BmpBytes(std::vector<std::uint8_t>& bytes) const;

    // Keeps the part of this surface at `at`, as large as `pixels`, in those pixels (a
    // window's own, XRGB8888) instead of its own, so that what is drawn there is what the
    // window shows. The part's picture moves into them. While it lasts nothing is kept
    // outside the part: it reads black and drawing there is dropped. False when the pixels
    // cannot be written in place or the part does not lie within the surface.
    bool KeepPartIn(SDL_Surface* pixels, Point at);
    bool KeepsPartIn(const SDL_Surface* pixels, Point at) const;
    // The surface that keeps a part in these pixels, if any, takes it back into its own:
    // called before the pixels are freed or drawn over. With copyBack false the part's
    // picture is given up (the pixels are gone already).
    static void ReturnBorrowedPixels(const SDL_Surface* pixels, bool copyBack);
    // Where the surface's pixels are: the whole surface, or the part kept in a window's.
    Rect HeldPart() const;

    // Raw XRGB8888 access, of the held part, for the platform layer and its tests. The
    // writable pixels and the SDL surface may be written through, so handing them out
    // forgets the encoded key runs.
    std::uint32_t* Pixels();
    const std::uint32_t* Pixels() const;
    int PitchInPixels() const;
    SDL_Surface* Sdl() const;

private:
    explicit Surface(SDL_Surface* sdl);
    std::uint32_t* At(int x, int y);
    const std::uint32_t* At(int x, int y) const;
    bool HoldsEverything() const { return sdl_ == own_; }
    void TakeBackPart(bool copyBack);
    std::unique_ptr<Surface> Snapshot(const Rect& part) const;
    SDL_Surface* KeyedRuns() const;
    void DropKeyedRuns() const;
    // Unstretched copy of srcRect to (x, y) of target, leaving target alone at the key.
    int CopyKeyed(const Rect& srcRect, int x, int y, Surface& target) const;

    SDL_Surface* own_;  // the whole surface
    SDL_Surface* sdl_;  // where its pixels are now: own_, or a view of borrowed ones
    const SDL_Surface* borrowed_ = nullptr;
    Point heldAt_{0, 0};
    bool hasKey_ = false;
    Colorref key_ = 0;
    bool lost_ = false;
    // The picture encoded into runs of its key for keyed copies: made at the first one,
    // dropped whenever the pixels or the key may change.
    mutable SDL_Surface* keyedRuns_ = nullptr;
    // Whether some pixel has the key's colour: -1 until asked, forgotten with the runs.
    mutable int keyPixels_ = -1;
};
