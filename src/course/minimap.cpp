// The minimap: start, goal and current cell as coloured squares on a dark green field.
#include "course/course_map.h"
#include "platform/draw_context.h"
#include "shared/globals.h"

namespace {

constexpr Colorref FieldColour = Rgb(0, 64, 0);
constexpr Colorref StartColour = Rgb(0, 0, 255);
constexpr Colorref GoalColour = Rgb(255, 0, 0);
constexpr Colorref CurrentColour = Rgb(255, 255, 0);

constexpr int FieldLeft = 414;
constexpr int FieldTop = 190;
constexpr int SlotSize = 10;
constexpr int SquareSize = 9;  // one pixel of field stays between neighbouring squares

void DrawFilledRect(DrawContext& dc, const Rect& r, Colorref colour) {
    const Brush previousBrush = dc.SelectBrush(CreateSolidBrush(colour));
    const Pen previousPen = dc.SelectPen(CreatePen(1, colour));
    dc.Rectangle(r.left, r.top, r.right, r.bottom);
    dc.SelectPen(previousPen);
    dc.SelectBrush(previousBrush);
}

// A cell off the grid (a start or goal never loaded stays at 23) is not drawn, so nothing
// lands outside the field.
void DrawCellSquare(DrawContext& dc, int cellX, int cellY, Colorref colour) {
    const Rect square = MinimapCellSquare(cellX, cellY);
    if (!square.IsEmpty()) DrawFilledRect(dc, square, colour);
}

}  // namespace

Rect MinimapCellSquare(int cellX, int cellY) {
    if (cellX < 0 || cellX >= GridSize || cellY < 0 || cellY >= GridSize) return {0, 0, 0, 0};
    const int left = WindowOrigin.x + FieldLeft + SlotSize * cellX;
    const int top = WindowOrigin.y + FieldTop + SlotSize * cellY;
    return {left, top, left + SquareSize, top + SquareSize};
}

// Current is drawn last so that it shows over the start or the goal.
void CourseMap::DrawMinimap() {
    if (!offscreen) return;
    DrawContext dc(*offscreen);
    if (!dc.Ok()) return;
    const int left = WindowOrigin.x + FieldLeft;
    const int top = WindowOrigin.y + FieldTop;
    DrawFilledRect(dc, {left, top, left + SlotSize * GridSize, top + SlotSize * GridSize}, FieldColour);
    DrawCellSquare(dc, startCellX, startCellY, StartColour);
    DrawCellSquare(dc, goalCellX, goalCellY, GoalColour);
    DrawCellSquare(dc, currentCellX, currentCellY, CurrentColour);
}
