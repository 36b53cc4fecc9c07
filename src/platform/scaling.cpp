#include "platform/scaling.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

int AutoScale(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
    int scale = 1;
    // 10 * picture * N <= 9 * screen, in whole numbers.
    while (scale < kLargestWindowScale && 10 * pictureWidth * (scale + 1) <= 9 * screenWidth &&
           10 * pictureHeight * (scale + 1) <= 9 * screenHeight)
        ++scale;
    return scale;
}

int FittingScale(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight) {
    return std::max(1, std::min(areaWidth / pictureWidth, areaHeight / pictureHeight));
}

PicturePlacement CentredPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight, int scale) {
    return PicturePlacement{scale, (windowWidth - pictureWidth * scale) / 2, (windowHeight - pictureHeight * scale) / 2};
}

int FloorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

namespace {

const std::uint32_t* SourceRow(const SDL_Surface* surface, int y) {
    return reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(surface->pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * surface->pitch);
}

std::uint32_t* TargetRow(SDL_Surface* surface, int y) {
    return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                            static_cast<std::ptrdiff_t>(y) * surface->pitch);
}

// Every pixel of a row scale times over; the scale is a constant here, so the compiler
// writes each pixel's copies at once.
template <int kScale>
void RepeatPixels(const std::uint32_t* from, std::uint32_t* to, int count) {
    for (int column = 0; column < count; ++column, to += kScale)
        for (int k = 0; k < kScale; ++k) to[k] = from[column];
}

// Target pixels first to last (excluded) of a row, from the source row whose first copied
// pixel lands on target pixel start.
void WidenRow(const std::uint32_t* from, std::uint32_t* to, int start, int first, int last, int scale) {
    // The whole row, the usual case, at the scales a window can have.
    if (first == start && (last - first) % scale == 0) {
        const int count = (last - first) / scale;
        switch (scale) {
        case 2: return RepeatPixels<2>(from, to + first, count);
        case 3: return RepeatPixels<3>(from, to + first, count);
        case 4: return RepeatPixels<4>(from, to + first, count);
        case 5: return RepeatPixels<5>(from, to + first, count);
        case 6: return RepeatPixels<6>(from, to + first, count);
        default: break;
        }
    }
    int column = (first - start) / scale;
    int repeat = (first - start) % scale;
    for (int x = first; x < last; ++x) {
        to[x] = from[column];
        if (++repeat == scale) {
            repeat = 0;
            ++column;
        }
    }
}

}  // namespace

void CopyScaled(const SDL_Surface* source, int fromX, int fromY, int width, int height, SDL_Surface* target,
                int toX, int toY, int scale) {
    // Keep the source part inside the source, moving the target corner along with it.
    if (fromX < 0) { toX -= fromX * scale; width += fromX; fromX = 0; }
    if (fromY < 0) { toY -= fromY * scale; height += fromY; fromY = 0; }
    width = std::min(width, source->w - fromX);
    height = std::min(height, source->h - fromY);
    if (width <= 0 || height <= 0 || scale < 1) return;

    const int firstX = std::max(0, toX);
    const int lastX = std::min(target->w, toX + width * scale);
    const int firstY = std::max(0, toY);
    const int lastY = std::min(target->h, toY + height * scale);
    if (firstX >= lastX || firstY >= lastY) return;

    const bool lockTarget = SDL_MUSTLOCK(target);
    if (lockTarget && SDL_LockSurface(target) != 0) return;
    const std::size_t rowBytes = static_cast<std::size_t>(lastX - firstX) * sizeof(std::uint32_t);
    for (int y = firstY; y < lastY; ++y) {
        std::uint32_t* row = TargetRow(target, y);
        // The first target row of each source row is built; the others copy it.
        if (y > firstY && (y - toY) % scale != 0) {
            std::memcpy(row + firstX, TargetRow(target, y - 1) + firstX, rowBytes);
            continue;
        }
        const std::uint32_t* from = SourceRow(source, fromY + (y - toY) / scale) + fromX;
        if (scale == 1) {
            std::memcpy(row + firstX, from + (firstX - toX), rowBytes);
        } else {
            WidenRow(from, row, toX, firstX, lastX, scale);
        }
    }
    if (lockTarget) SDL_UnlockSurface(target);
}
