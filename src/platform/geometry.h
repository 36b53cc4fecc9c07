// Small value types shared by the whole game: points, rectangles, colours.
#pragma once
#include <algorithm>
#include <cstdint>

// A colour as the game stores it: red + 256 * green + 65536 * blue.
using Colorref = std::uint32_t;

constexpr Colorref Rgb(int red, int green, int blue) {
    return static_cast<Colorref>(red & 0xFF) | (static_cast<Colorref>(green & 0xFF) << 8) |
           (static_cast<Colorref>(blue & 0xFF) << 16);
}
constexpr int RedOf(Colorref c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colorref c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colorref c) { return static_cast<int>((c >> 16) & 0xFF); }

// The colour that keyed copies treat as transparent.
constexpr Colorref ColourKeyMagenta = Rgb(255, 0, 255);

struct Point {
    std::int32_t x;
    std::int32_t y;
};

inline bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(Point a, Point b) { return !(a == b); }

// Left and top included, right and bottom excluded.
struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The part two rectangles have in common (empty when none).
inline Rect Intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}
