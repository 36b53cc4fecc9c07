// Drawing on a surface with pens, brushes, regions and text, the way the game's screens
// were designed against: right and bottom edges excluded, end points of lines left out.
#include "platform/draw_context.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>

GdiFaults gdiFaults;

Pen CreatePen(int width, Colorref colour) { return Pen{width, colour, !gdiFaults.createPen}; }

Brush CreateSolidBrush(Colorref colour) { return Brush{false, colour, !gdiFaults.createSolidBrush}; }

Brush HollowBrush() { return Brush{true, 0, true}; }

Region CreatePolygonRgn(const Point* points, int count) {
    if (gdiFaults.createPolygonRgn) return Region();
    return Region::FromPolygon(points, count);
}

namespace {

bool Fills(const Brush& brush) { return brush.valid && !brush.hollow; }

// The pixels one axis of a rectangle covers: from the first coordinate up to, but not
// including, the second one, in whichever direction they run. Returns [from, to).
void CoveredSpan(int first, int second, int& from, int& to) {
    if (first <= second) {
        from = first;
        to = second;
    } else {
        from = second + 1;
        to = first + 1;
    }
}

// Paints the part of outer that lies outside inner (inner may be empty or inverted).
void DrawFrame(Surface& surface, const Rect& outer, const Rect& inner, Colorref colour) {
    if (inner.Width() <= 0 || inner.Height() <= 0) {
        surface.FillRect(outer, colour);
        return;
    }
    surface.FillRect(Rect{outer.left, outer.top, outer.right, inner.top}, colour);
    surface.FillRect(Rect{outer.left, inner.bottom, outer.right, outer.bottom}, colour);
    surface.FillRect(Rect{outer.left, inner.top, inner.left, inner.bottom}, colour);
    surface.FillRect(Rect{inner.right, inner.top, outer.right, inner.bottom}, colour);
}

}  // namespace

DrawContext::DrawContext(Surface& surface)
    : surface_(&surface),
      ok_(!surface.IsLost() && !gdiFaults.getDC),
      pen_{1, Rgb(0, 0, 0), true},
      brush_{false, Rgb(255, 255, 255), true} {}

Pen DrawContext::SelectPen(const Pen& pen) {
    Pen old = pen_;
    pen_ = pen;
    return old;
}

Brush DrawContext::SelectBrush(const Brush& brush) {
    Brush old = brush_;
    brush_ = brush;
    return old;
}

// A null font stands for the default one.
std::shared_ptr<Font> DrawContext::SelectFont(std::shared_ptr<Font> font) {
    std::shared_ptr<Font> old = font_;
    font_ = std::move(font);
    return old;
}

Colorref DrawContext::SetTextColor(Colorref colour) {
    Colorref old = textColour_;
    textColour_ = colour;
    return old;
}

Colorref DrawContext::SetBkColor(Colorref colour) {
    Colorref old = bkColour_;
    bkColour_ = colour;
    return old;
}

void DrawContext::MoveTo(int x, int y) { position_ = Point{x, y}; }

// A pen of width 2 covers each plotted pixel and its neighbours to the right and below.
void DrawContext::LineTo(int x, int y) {
    const Point from = position_;
    position_ = Point{x, y};
    if (!ok_ || !pen_.valid) return;
    const int dab = pen_.width >= 2 ? 2 : 1;
    const int dx = std::abs(x - from.x);
    const int dy = -std::abs(y - from.y);
    const int stepX = from.x < x ? 1 : -1;
    const int stepY = from.y < y ? 1 : -1;
    int error = dx + dy;
    int px = from.x;
    int py = from.y;
    while (px != x || py != y) {
        surface_->FillRect(Rect{px, py, px + dab, py + dab}, pen_.colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            px += stepX;
        }
        if (twice <= dx) {
            error += dx;
            py += stepY;
        }
    }
}

bool DrawContext::Rectangle(int left, int top, int right, int bottom) {
    if (gdiFaults.rectangle || !ok_) return false;
    Rect covered{};
    CoveredSpan(left, right, covered.left, covered.right);
    CoveredSpan(top, bottom, covered.top, covered.bottom);
    if (covered.Width() <= 0 || covered.Height() <= 0) return true;
    Rect inside = covered;
    if (pen_.valid) {
        const int border = std::max(pen_.width, 1);
        inside = Rect{covered.left + border, covered.top + border, covered.right - border,
                      covered.bottom - border};
        DrawFrame(*surface_, covered, inside, pen_.colour);
    }
    if (Fills(brush_) && inside.Width() > 0 && inside.Height() > 0) surface_->FillRect(inside, brush_.colour);
    return true;
}

bool DrawContext::Polygon(const Point* points, int count) {
    if (!ok_ || !points || count < 2) return false;
    if (Fills(brush_)) {
        const Region inside = Region::FromPolygon(points, count);
        if (inside.IsValid()) {
            const Rect box = inside.Bounds();
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x)
                    if (inside.Contains(x, y)) surface_->SetPixel(x, y, brush_.colour);
        }
    }
    // The outline neither uses nor moves the current position.
    const Point saved = position_;
    MoveTo(points[0].x, points[0].y);
    for (int i = 1; i <= count; ++i) LineTo(points[i % count].x, points[i % count].y);
    position_ = saved;
    return true;
}

bool DrawContext::FillRgn(const Region& region, const Brush& brush) {
    if (gdiFaults.fillRgn || !ok_ || !region.IsValid()) return false;
    if (!Fills(brush)) return true;
    const Rect box = region.Bounds();
    const int top = std::max(box.top, 0);
    const int bottom = std::min(box.bottom, surface_->Height());
    const int left = std::max(box.left, 0);
    const int right = std::min(box.right, surface_->Width());
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (region.Contains(x, y)) surface_->SetPixel(x, y, brush.colour);
    return true;
}

// The box behind the text is exactly the text's width and the font's height; the rendered
// glyphs are clipped to that box, since SDL_ttf's line can be a pixel taller.
bool DrawContext::TextOut(int x, int y, const std::string& utf8) {
    if (!ok_) return false;
    const std::shared_ptr<Font> font = font_ ? font_ : Font::Default();
    if (!font) return false;
    const int width = font->TextWidth(utf8);
    const int height = font->Height();
    surface_->FillRect(Rect{x, y, x + width, y + height}, bkColour_);
    if (utf8.empty() || width <= 0) return true;

    const SDL_Color ink{static_cast<Uint8>(RedOf(textColour_)), static_cast<Uint8>(GreenOf(textColour_)),
                        static_cast<Uint8>(BlueOf(textColour_)), 255};
    SDL_Surface* glyphs = TTF_RenderUTF8_Solid(font->Ttf(), utf8.c_str(), ink);
    if (!glyphs) return false;
    const int rows = std::min(glyphs->h, height);
    const int columns = std::min(glyphs->w, width);
    const int strokes = font->Bold() ? 2 : 1;
    for (int row = 0; row < rows; ++row) {
        // Solid rendering gives 8-bit pixels: 0 is the background, anything else ink.
        const Uint8* line = static_cast<const Uint8*>(glyphs->pixels) + row * glyphs->pitch;
        for (int column = 0; column < columns; ++column) {
            if (line[column] == 0) continue;
            for (int stroke = 0; stroke < strokes && column + stroke < width; ++stroke)
                surface_->SetPixel(x + column + stroke, y + row, textColour_);
        }
    }
    SDL_FreeSurface(glyphs);
    return true;
}
