// A drawing context on a surface: pens, brushes, rectangles, lines, polygons, regions, text.
#pragma once
#include <memory>
#include <string>

#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/region.h"
#include "platform/surface.h"

struct Pen {
    int width = 1;          // 0 or 1 draw one pixel wide; 2 draws two
    Colorref colour = 0;
    bool valid = true;      // false when creation failed; such a pen draws nothing
};

struct Brush {
    bool hollow = false;    // a hollow brush fills nothing
    Colorref colour = 0;
    bool valid = true;
};

// Creation of drawing objects. They fail only when a test asks them to (GdiFaults).
Pen CreatePen(int width, Colorref colour);
Brush CreateSolidBrush(Colorref colour);
Brush HollowBrush();
Region CreatePolygonRgn(const Point* points, int count);

// A frame `width` pixels wide just inside area: the outline a pen of that width draws round a
// Rectangle. An area too small to hold the frame is filled.
void OutlineRect(Surface& surface, const Rect& area, int width, Colorref colour);

// Test switches that make the named calls fail, so the error paths can be exercised.
struct GdiFaults {
    bool createPen = false;
    bool createSolidBrush = false;
    bool createPolygonRgn = false;
    bool fillRgn = false;
    bool rectangle = false;
    bool getDC = false;
};
extern GdiFaults gdiFaults;

class DrawContext {
public:
    // Takes the drawing context of a surface. Ok() is false when the surface is lost or
    // a test made the call fail; nothing can be drawn then.
    explicit DrawContext(Surface& surface);
    bool Ok() const { return ok_; }

    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    std::shared_ptr<Font> SelectFont(std::shared_ptr<Font> font);
    Colorref SetTextColor(Colorref colour);
    Colorref SetBkColor(Colorref colour);

    void MoveTo(int x, int y);
    // A line from the current position to (x, y); the end point itself is not drawn.
    void LineTo(int x, int y);
    // Outline with the pen, inside with the brush. Each axis covers from its first coordinate
    // up to, but not including, its second one, whichever is larger.
    bool Rectangle(int left, int top, int right, int bottom);
    // Closed polygon: filled with the brush by the winding rule, outlined with the pen.
    bool Polygon(const Point* points, int count);
    bool FillRgn(const Region& region, const Brush& brush);
    // Text with its top-left at (x, y) on an opaque box of the background colour. Nothing is
    // reported: text that cannot be drawn leaves its box at most, and no caller could do more.
    void TextOut(int x, int y, const std::string& utf8);
    // The width TextOut gives the text's box; 0 without a font.
    int TextWidth(const std::string& utf8) const;

private:
    Surface* surface_;
    bool ok_;
    Pen pen_;
    Brush brush_;
    std::shared_ptr<Font> font_;
    Colorref textColour_ = 0x000000;
    Colorref bkColour_ = 0xFFFFFF;
    Point position_{0, 0};
};
