// Small drawing helpers shared by the pictures: text without a background box, vertical
// text, gradients, bevels and a fixed texture pattern. Text is drawn in the face of the
// language the pictures are drawn in (GameLanguage).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw_context.h"
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
// Each text is drawn with the room its place gives it (a width; for vertical text a length),
// and noted here with the room it needed: a label, or a translation, may be too long for its
// place.
struct DrawnLabel {
    std::string text;
    TextStyle style;
    int needed;
    int room;
};
const std::vector<DrawnLabel>& DrawnLabels();

// Top-left at (x, y); only the glyphs are drawn, the picture shows between them.
void DrawText(Surface& target, int x, int y, const std::string& text, const TextStyle& style, int room);
void DrawTextCentred(Surface& target, int centreX, int y, const std::string& text, const TextStyle& style,
                     int room);
// Written top to bottom, centred on centreX. Japanese stands one character per line, with
// long-vowel marks turned upright and small kana moved to the upper right; Latin text is
// turned a quarter clockwise, as on the spine of a book.
void DrawTextVertical(Surface& target, int centreX, int top, const std::string& text, const TextStyle& style,
                      int room);
// How far down the page DrawTextVertical reaches.
int VerticalLength(const std::string& text, const TextStyle& style);
std::vector<std::string> SplitCharacters(const std::string& utf8);

// Filled by the same rule as the game's regions, outline pixels included.
void FillPolygon(Surface& target, const std::vector<Point>& points, Colorref colour);
void VerticalGradient(Surface& target, const Rect& area, Colorref top, Colorref bottom);
// Two-pixel bevel just outside a window: dark above and left, light below and right, so
// the window looks set into the panel.
void SunkenFrame(Surface& target, const Rect& window);
// A panel with a light top-left edge and a dark bottom-right edge.
void RaisedPanel(Surface& target, const Rect& area, Colorref top, Colorref bottom);

Colorref Mix(Colorref a, Colorref b, int numerator, int denominator);
// A fixed pseudo-random value per pixel: the same texture on every build.
std::uint32_t PatternValue(int x, int y, int salt);
