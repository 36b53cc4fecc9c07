// Placeholder; replaced by the platform layer's implementation.
#include "platform/draw_context.h"
GdiFaults gdiFaults;
Pen CreatePen(int width, Colorref colour) { return Pen{width, colour, true}; }
Brush CreateSolidBrush(Colorref colour) { return Brush{false, colour, true}; }
Brush HollowBrush() { return Brush{true, 0, true}; }
Region CreatePolygonRgn(const Point* points, int count) { return Region::FromPolygon(points, count); }
DrawContext::DrawContext(Surface& surface) : surface_(&surface), ok_(false) {}
Pen DrawContext::SelectPen(const Pen& pen) { Pen old = pen_; pen_ = pen; return old; }
Brush DrawContext::SelectBrush(const Brush& brush) { Brush old = brush_; brush_ = brush; return old; }
std::shared_ptr<Font> DrawContext::SelectFont(std::shared_ptr<Font> font) { auto old = font_; font_ = font; return old; }
Colorref DrawContext::SetTextColor(Colorref c) { Colorref old = textColour_; textColour_ = c; return old; }
Colorref DrawContext::SetBkColor(Colorref c) { Colorref old = bkColour_; bkColour_ = c; return old; }
void DrawContext::MoveTo(int x, int y) { position_ = {x, y}; }
void DrawContext::LineTo(int x, int y) { position_ = {x, y}; }
bool DrawContext::Rectangle(int, int, int, int) { return false; }
bool DrawContext::Polygon(const Point*, int) { return false; }
bool DrawContext::FillRgn(const Region&, const Brush&) { return false; }
bool DrawContext::TextOut(int, int, const std::string&) { return false; }
