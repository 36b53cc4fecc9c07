// The course menu and the bus-type menu.
#include "menus/menu_screen.h"
#include "menus/menu_style.h"

#include <cstring>

#include "platform/draw_context.h"
#include "platform/font.h"
#include "records/score_table.h"
#include "records/shelf.h"
#include "records/stopwatch.h"
#include "shared/error_log.h"
#include "shared/globals.h"
#include "shared/texts.h"

char CourseNames[MenuTextSlots][MenuTextSize];
char BusCaptions[MenuTextSlots][MenuTextSize];
bool lastRowOnShelf = false;

namespace {

static_assert(CourseNameCount == CourseCount && BusCaptionTextCount == BusCaptionCount);

void CopyTexts(const char* const* texts, int count, char (*slots)[MenuTextSize]) {
    for (int i = 0; i < count; ++i) {
        std::strncpy(slots[i], texts[i], MenuTextSize - 1);
        slots[i][MenuTextSize - 1] = '\0';
    }
}

}  // namespace

int MenuRowTop(int row) { return WindowOrigin.y + MenuTop + RowHeight * row; }

// The red bar behind the highlighted course.
void DrawMenuBar(DrawContext& dc, int row) {
    const Brush brush = CreateSolidBrush(MenuHighlight);
    const Pen pen = CreatePen(1, MenuHighlight);
    // An object that could not be made is not selected, so the context keeps its own.
    const Brush previousBrush = brush.valid ? dc.SelectBrush(brush) : Brush{};
    const Pen previousPen = pen.valid ? dc.SelectPen(pen) : Pen{};
    const int ox = WindowOrigin.x;
    if (!dc.Rectangle(ox + MenuLeft, MenuRowTop(row), ox + BestTimeLeft, MenuRowTop(row) + RowHeight - 1)) {
        WriteErrorLog("error_Rectangle.txt", "Rectangle = FALSE at Handle Disp");
    }
    if (pen.valid) dc.SelectPen(previousPen);
    if (brush.valid) dc.SelectBrush(previousBrush);
}

MenuFontSelection::MenuFontSelection(DrawContext& dc)
    : dc_(dc), font_(Font::Create(Texts().fontFace, MenuFontHeight, FW_BOLD)) {
    if (font_) previous_ = dc_.SelectFont(font_);
}

MenuFontSelection::~MenuFontSelection() {
    if (font_) dc_.SelectFont(previous_);
}

Colorref MenuRowBackground(int row, int cursor) { return row == cursor ? MenuHighlight : MenuBackground; }

MenuScreen::MenuScreen() {
    CopyTexts(Texts().courseNames, CourseCount, CourseNames);
    CopyTexts(Texts().busCaptions, BusCaptionCount, BusCaptions);
    lastRowOnShelf = ShelfHoldsACourse();
}

MenuScreen::~MenuScreen() = default;

void MenuScreen::DrawCourseMenu() {
    if (!offscreen) return;
    DrawContext dc(*offscreen);
    if (!dc.Ok()) return;
    DrawMenuBar(dc, CourseCursor);

    MenuFontSelection font(dc);
    dc.SetTextColor(MenuOpenText);
    const int ox = WindowOrigin.x;
    for (int i = 0; i < CourseCount; ++i) {
        const int y = MenuRowTop(i);
        dc.SetBkColor(MenuRowBackground(i, CourseCursor));
        const std::int32_t state = scoreTable->Current(i).courseState;
        if (state == Locked && !(i == CourseCount - 1 && lastRowOnShelf)) {
            dc.SetTextColor(MenuLockedText);
        } else if (state == Completed) {
            dc.SetTextColor(MenuCompletedText);
            // The user-made map has no fixed course, so its time is not shown.
            if (i < CourseCount - 1) {
                char bestTime[TimeTextSize] = {};
                stopwatch->FormatBestTime(i, bestTime);
                dc.TextOut(ox + BestTimeLeft, y, bestTime);
            }
        } else {
            dc.SetTextColor(MenuOpenText);
        }
        dc.TextOut(ox + MenuLeft, y, CourseNames[i]);
    }
}

void MenuScreen::DrawBusMenu() {
    if (!offscreen) return;
    DrawContext dc(*offscreen);
    if (!dc.Ok()) return;
    {
        MenuFontSelection font(dc);
        dc.SetTextColor(MenuOpenText);
        for (int i = 0; i < BusCaptionCount; ++i) {
            dc.SetBkColor(MenuRowBackground(i, BusCursor));
            dc.TextOut(WindowOrigin.x + MenuLeft, MenuRowTop(i), BusCaptions[i]);
        }
    }
    ShowBusMenu = 0;
}
