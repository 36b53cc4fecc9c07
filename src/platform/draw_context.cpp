// Drawing on a surface with pens, brushes, regions and text, the way the game's screens
// were designed against: right and bottom edges excluded, end points of lines left out.
#include "platform/draw_context.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

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

// Pixels [first, last] of a row, both included.
struct PixelRun {
    int first;
    int last;
};

// The pixels of row y that an edge passes over or beside: the edge's extent within the band
// y to y + 1, widened by a pixel to each side. False when the edge misses the band.
bool PixelsNearEdge(Point a, Point b, int y, PixelRun& run) {
    const double top = y;
    const double bottom = y + 1.0;
    if (std::max(a.y, b.y) < top || std::min(a.y, b.y) > bottom) return false;
    double x0 = a.x;
    double x1 = b.x;
    if (a.y != b.y) {
        const auto xAt = [&](double yy) { return a.x + (yy - a.y) * (b.x - a.x) / (b.y - a.y); };
        x0 = xAt(std::clamp(top, 1.0 * std::min(a.y, b.y), 1.0 * std::max(a.y, b.y)));
        x1 = xAt(std::clamp(bottom, 1.0 * std::min(a.y, b.y), 1.0 * std::max(a.y, b.y)));
    }
    run.first = static_cast<int>(std::floor(std::min(x0, x1))) - 1;
    run.last = static_cast<int>(std::ceil(std::max(x0, x1))) + 1;
    return true;
}

// Row y of a region, over columns [left, right). A region tests each pixel at one point
// within the pixel's square against its outline, so between the pixels near an edge no edge
// passes: each such stretch is all inside or all outside and is tested once. The pixels
// near an edge are tested one by one. The result is the same as testing every pixel.
void FillRegionRow(Surface& surface, const Region& region, int y, int left, int right, Colorref colour,
                   std::vector<PixelRun>& nearEdges) {
    const std::vector<Point>& points = region.Points();
    nearEdges.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
        PixelRun run{};
        if (PixelsNearEdge(points[i], points[(i + 1) % points.size()], y, run)) nearEdges.push_back(run);
    }
    std::sort(nearEdges.begin(), nearEdges.end(), [](const PixelRun& p, const PixelRun& q) { return p.first < q.first; });
    int x = left;
    for (std::size_t i = 0; i <= nearEdges.size() && x < right; ++i) {
        const int nearFirst = i < nearEdges.size() ? std::max(nearEdges[i].first, x) : right;
        const int stretchEnd = std::min(nearFirst, right);
        if (x < stretchEnd && region.Contains(x, y)) surface.FillRect(Rect{x, y, stretchEnd, y + 1}, colour);
        x = std::max(x, stretchEnd);
        if (i == nearEdges.size()) break;
        const int nearEnd = std::min(nearEdges[i].last + 1, right);
        for (; x < nearEnd; ++x)
            if (region.Contains(x, y)) surface.SetPixel(x, y, colour);
    }
}

// Every pixel of the region within the surface.
void FillRegion(Surface& surface, const Region& region, Colorref colour) {
    const Rect box = region.Bounds();
    const int top = std::max(box.top, 0);
    const int bottom = std::min(box.bottom, surface.Height());
    const int left = std::max(box.left, 0);
    const int right = std::min(box.right, surface.Width());
    std::vector<PixelRun> nearEdges;
    for (int y = top; y < bottom; ++y) FillRegionRow(surface, region, y, left, right, colour, nearEdges);
}

}  // namespace

void OutlineRect(Surface& surface, const Rect& area, int width, Colorref colour) {
    const Rect inner{area.left + width, area.top + width, area.right - width, area.bottom - width};
    if (inner.Width() <= 0 || inner.Height() <= 0) {
        surface.FillRect(area, colour);
        return;
    }
    surface.FillRect(Rect{area.left, area.top, area.right, inner.top}, colour);
    surface.FillRect(Rect{area.left, inner.bottom, area.right, area.bottom}, colour);
    surface.FillRect(Rect{area.left, inner.top, inner.left, inner.bottom}, colour);
    surface.FillRect(Rect{inner.right, inner.top, area.right, inner.bottom}, colour);
}

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
        OutlineRect(*surface_, covered, border, pen_.colour);
    }
    if (Fills(brush_) && inside.Width() > 0 && inside.Height() > 0) surface_->FillRect(inside, brush_.colour);
    return true;
}

bool DrawContext::Polygon(const Point* points, int count) {
    if (!ok_ || !points || count < 2) return false;
    if (Fills(brush_)) {
        const Region inside = Region::FromPolygon(points, count);
        if (inside.IsValid()) FillRegion(*surface_, inside, brush_.colour);
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
    if (Fills(brush)) FillRegion(*surface_, region, brush.colour);
    return true;
}

int DrawContext::TextWidth(const std::string& utf8) const {
    const std::shared_ptr<Font> font = font_ ? font_ : Font::Default();
    return font ? font->TextWidth(utf8) : 0;
}

// The box behind the text is exactly the text's width and the font's height.
void DrawContext::TextOut(int x, int y, const std::string& utf8) {
    if (!ok_) return;
    const std::shared_ptr<Font> font = font_ ? font_ : Font::Default();
    if (!font) return;
    if (const Surface* box = font->TextBox(utf8, textColour_, bkColour_)) {
        surface_->BltFast(x, y, *box, Rect{0, 0, box->Width(), box->Height()}, false);
        return;
    }
    // Nothing to draw, or the text could not be rendered: only its box.
    surface_->FillRect(Rect{x, y, x + font->TextWidth(utf8), y + font->Height()}, bkColour_);
}
