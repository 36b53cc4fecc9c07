#include "sound/volume_display.h"

#include <string>

#include "platform/draw_context.h"
#include "shared/globals.h"

namespace {
constexpr int kShownFrames = 45;  // a second and a half
constexpr Rect kBox{500, 8, 632, 32};
constexpr Colorref kBoxColour = Rgb(32, 42, 58);
constexpr Colorref kLineColour = Rgb(192, 192, 192);
constexpr Colorref kLitColour = Rgb(255, 255, 0);
constexpr Colorref kDarkColour = Rgb(80, 80, 80);
constexpr int kBars = 10;
constexpr const char* kNumberFace = "ＭＳ ゴシック";

// Frames left to draw, the last of them without the volume.
int framesLeft = 0;

void DrawSpeaker(DrawContext& dc, int x, int y) {
    const Point speaker[] = {{x, y + 6}, {x + 4, y + 6}, {x + 10, y + 1}, {x + 10, y + 15}, {x + 4, y + 10}, {x, y + 10}};
    dc.SelectBrush(CreateSolidBrush(kLineColour));
    dc.SelectPen(CreatePen(1, kLineColour));
    dc.Polygon(speaker, 6);
}

// Bars growing from left to right, as many lit as tenths of the volume (rounded).
void DrawBars(DrawContext& dc, int x, int bottom, int volume) {
    const int lit = (volume + 5) / 10;
    for (int bar = 0; bar < kBars; ++bar) {
        const Colorref colour = bar < lit ? kLitColour : kDarkColour;
        dc.SelectBrush(CreateSolidBrush(colour));
        dc.SelectPen(CreatePen(1, colour));
        const int left = x + bar * 7;
        dc.Rectangle(left, bottom - 4 - bar * 12 / 10, left + 5, bottom);
    }
}
}  // namespace

void ShowVolumeForAWhile() { framesLeft = kShownFrames + 1; }

bool VolumeShowing() { return framesLeft > 0; }

void DrawVolumeShown(Surface& surface, int volume) {
    if (framesLeft == 0 || --framesLeft == 0) return;
    DrawContext dc(surface);
    if (!dc.Ok()) return;
    const int ox = WindowOrigin.x, oy = WindowOrigin.y;
    dc.SelectBrush(CreateSolidBrush(kBoxColour));
    dc.SelectPen(CreatePen(1, kLineColour));
    dc.Rectangle(ox + kBox.left, oy + kBox.top, ox + kBox.right, oy + kBox.bottom);
    DrawSpeaker(dc, ox + kBox.left + 6, oy + kBox.top + 4);
    DrawBars(dc, ox + kBox.left + 22, oy + kBox.bottom - 5, volume);
    dc.SelectFont(Font::Create(kNumberFace, 16, FW_BOLD));
    dc.SetTextColor(kLineColour);
    dc.SetBkColor(kBoxColour);
    const std::string number = std::to_string(volume);
    dc.TextOut(ox + kBox.right - 6 - 8 * static_cast<int>(number.size()), oy + kBox.top + 4, number);
}
