// The driver's instruments: the gear indicator and the steering gauge.
#include <cmath>

#include "bus/bus.h"
#include "platform/draw_context.h"
#include "shared/error_log.h"
#include "shared/globals.h"

namespace {

constexpr Colorref Green = Rgb(0, 255, 0);
constexpr int GearCellWidth = 24;
constexpr int GearCellHeight = 36;

}  // namespace

// The gear bitmap holds reverse, neutral and forward side by side. The source is one pixel
// narrower than the destination, so the copy stretches it by one column.
void DrawGear() {
    if (!offscreen || !gearSurface) return;
    const int ox = WindowOrigin.x;
    const int oy = WindowOrigin.y;
    const int left = GearCellWidth * (frameBusState.gear + 1);
    const Rect source{left, 0, left + 23, GearCellHeight};
    const Rect destination{ox + 60, oy + 420, ox + 84, oy + 456};
    offscreen->Blt(&destination, *gearSurface, &source, false);
}

// Bar length in pixels, rounded away from zero, full lock giving about 100.
int SteeringGaugeWidth(double steering) {
    const int n = Bus::RadToDeg(steering);
    const double v = (n * -100.0) / maxSteerDeg;
    return static_cast<int>(v > 0 ? std::ceil(v) : std::floor(v));
}

// A green bar growing left of the centre mark when steering left, right of it when
// steering right. Rectangle covers from its first x up to its second, so the bar always
// ends at the centre mark.
void DrawSteeringGauge() {
    if (!offscreen) return;
    const int w = SteeringGaugeWidth(liveBusState.steering);
    DrawContext dc(*offscreen);
    if (!dc.Ok()) return;
    const int ox = WindowOrigin.x;
    const int oy = WindowOrigin.y;
    const Brush previousBrush = dc.SelectBrush(CreateSolidBrush(Green));
    const Pen previousPen = dc.SelectPen(CreatePen(1, Green));
    dc.MoveTo(ox + 236, oy + 428);
    dc.LineTo(ox + 236, oy + 448);
    if (!dc.Rectangle(ox + 238 + w, oy + 428, ox + 236, oy + 448))
        WriteErrorLog("error_Rectangle.txt", "Rectangle = FALSE at Handle Disp");
    dc.SelectPen(previousPen);
    dc.SelectBrush(previousBrush);
}
