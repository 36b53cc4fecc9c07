// The bus seen from above, drawn into the course view: wheel strokes, body, decorations.
#include <algorithm>

#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/draw_context.h"
#include "shared/error_log.h"
#include "shared/globals.h"

namespace {

constexpr Colorref Black = Rgb(0, 0, 0);

void DrawLine(DrawContext& dc, Point from, Point to) {
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
}

void DrawFrontWheels(DrawContext& dc, const BusState& s) {
    const Pen previous = dc.SelectPen(CreatePen(2, Black));
    for (const auto& stroke : s.frontWheelLine) DrawLine(dc, stroke[0], stroke[1]);
    dc.SelectPen(previous);
}

// Filled only: no outline is stroked around the body, so it hides the wheel strokes it covers.
void DrawBody(DrawContext& dc, const BusState& s, Colorref bodyColour) {
    const Brush brush = CreateSolidBrush(bodyColour);
    if (!brush.valid) WriteErrorLog("error_CreateSolidBrush.txt", "CreateSolidBrush = NULL");
    const Brush previous = dc.SelectBrush(brush);
    const Region body = CreatePolygonRgn(s.outline, OutlinePointCount(s.outlineCount));
    if (!body.IsValid()) WriteErrorLog("error_CreatePolygonRgn.txt", "CreatePolygonRgn = NULL");
    if (!dc.FillRgn(body, brush)) WriteErrorLog("error_FillRgn.txt", "FillRgn = FALSE");
    dc.SelectBrush(previous);
}

// Each pair of points is its own line, not a polyline.
void DrawLinePairs(DrawContext& dc, const BusOption& option) {
    const Pen pen = CreatePen(1, option.colour);
    if (!pen.valid) WriteErrorLog("error_CreatePen.txt", "CreatePen = NULL at Option Type 1");
    const Pen previous = dc.SelectPen(pen);
    const int count = OptionPointCount(option);
    for (int i = 0; i < count; i += 2) DrawLine(dc, option.points[i], option.points[i + 1]);
    dc.SelectPen(previous);
}

void DrawOutlinedPolygon(DrawContext& dc, const BusOption& option) {
    const Pen previousPen = dc.SelectPen(CreatePen(1, option.colour));
    const Brush previousBrush = dc.SelectBrush(HollowBrush());
    dc.Polygon(option.points, OptionPointCount(option));
    dc.SelectBrush(previousBrush);
    dc.SelectPen(previousPen);
}

void DrawFilledPolygon(DrawContext& dc, const BusOption& option) {
    const Brush brush = CreateSolidBrush(option.colour);
    const Brush previous = dc.SelectBrush(brush);
    dc.FillRgn(CreatePolygonRgn(option.points, OptionPointCount(option)), brush);
    dc.SelectBrush(previous);
}

// The list ends at the first entry of type 0; unknown kinds are passed over.
void DrawOptions(DrawContext& dc, const BusState& s) {
    for (const BusOption& option : s.options) {
        if (option.type == OptionEnd) break;
        switch (option.type) {
        case OptionLinePairs: DrawLinePairs(dc, option); break;
        case OptionOutlinedPolygon: DrawOutlinedPolygon(dc, option); break;
        case OptionFilledPolygon: DrawFilledPolygon(dc, option); break;
        default: break;
        }
    }
}

}  // namespace

// Every stroke and fill below stays within the box of the points it is given, except that a
// width-2 pen reaches one pixel right of and below them; two pixels of margin hold all.
Rect BusDrawingBounds(const BusState& s) {
    Rect box{s.frontWheelLine[0][0].x, s.frontWheelLine[0][0].y, s.frontWheelLine[0][0].x, s.frontWheelLine[0][0].y};
    const auto take = [&box](Point p) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    };
    for (const auto& stroke : s.frontWheelLine) {
        take(stroke[0]);
        take(stroke[1]);
    }
    for (int i = 0; i < OutlinePointCount(s.outlineCount); ++i) take(s.outline[i]);
    for (const BusOption& option : s.options) {
        if (option.type == OptionEnd) break;
        for (int i = 0; i < OptionPointCount(option); ++i) take(option.points[i]);
    }
    constexpr int kMargin = 2;
    return {box.left - kMargin, box.top - kMargin, box.right + kMargin + 1, box.bottom + kMargin + 1};
}

void DrawBusOn(Surface& surface, const BusState& s, Colorref bodyColour) {
    DrawContext dc(surface);
    if (!dc.Ok()) return;
    DrawFrontWheels(dc, s);
    DrawBody(dc, s, bodyColour);
    DrawOptions(dc, s);
}

void CourseMap::DrawBus() {
    if (mapscreen) DrawBusOn(*mapscreen, frameBusState, busGeometry.bodyColour);
}
