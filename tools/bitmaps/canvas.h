// Small drawing helpers shared by the pictures: text without a background box, vertical
// Japanese text, gradients, bevels and a fixed texture pattern.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/surface.h"

// A new picture filled with one colour. Ends the program when it cannot be made: a picture
// that is silently missing would only show up later as a start-up failure of the game.
std::unique_ptr<Surface> NewPicture(int width, int height, Colorref fill);

struct TextStyle {
    int height = 16;
    bool bold = true;
    Colorref ink = 0;
    // A dark copy one pixel down and right, for labels on shaded panels.
    bool shadow = false;
    Colorref shadowInk = 0;
    // A ring around every glyph, for big titles.
    int outline = 0;
    Colorref outlineInk = 0;
};

int TextWidth(const std::string& text, const TextStyle& style);
// Top-left at (x, y); only the glyphs are drawn, the picture shows between them.
void DrawText(Surface& target, int x, int y, const std::string& text, const TextStyle& style);
void DrawTextCentred(Surface& target, int centreX, int y, const std::string& text, const TextStyle& style);
// Written top to bottom, one character per line, centred on centreX. Long-vowel marks are
// turned upright and small kana move to the upper right, as in vertical Japanese.
void DrawTextVertical(Surface& target, int centreX, int top, const std::string& text, const TextStyle& style);
std::vector<std::string> SplitCharacters(const std::string& utf8);

// Filled by the same rule as the game's regions, outline pixels included.
void FillPolygon(Surface& target, const std::vector<Point>& points, Colorref colour);
void VerticalGradient(Surface& target, const Rect& area, Colorref top, Colorref bottom);
// Two-pixel bevel just outside a window: dark above and left, light below and right, so
// the window looks set into the panel.
void SunkenFrame(Surface& target, const Rect& window);
// A panel with a light top-left edge and a dark bottom-right edge.
void RaisedPanel(Surface& target, const Rect& area, Colorref top, Colorref bottom);
void OutlineRect(Surface& target, const Rect& area, int thickness, Colorref colour);

Colorref Mix(Colorref a, Colorref b, int numerator, int denominator);
// A fixed pseudo-random value per pixel: the same texture on every build.
std::uint32_t PatternValue(int x, int y, int salt);
