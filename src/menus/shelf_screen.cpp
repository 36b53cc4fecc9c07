#include "menus/shelf_screen.h"

#include <algorithm>

#include "menus/menu_screen.h"
#include "menus/menu_style.h"
#include "records/stopwatch.h"
#include "shared/globals.h"
#include "shared/texts.h"

ShelfScreen shelfScreen;

namespace {

// A cleared course's name is yellow, as on the course menu, after this mark; the marks that
// say more rows are above or below stand right of the best times.
constexpr int ScrollMarkLeft = 570;
constexpr const char* ClearedMark = "★ ";
// A name is cut to what fits on the bar.
constexpr int NameRoom = BestTimeLeft - MenuLeft - 8;

// Kana, kanji and full-width forms (U+3000 on, whose UTF-8 starts at 0xE3): a player's name in
// them is drawn in the Japanese face, which the English face lacks.
bool HasJapanese(const std::string& name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE3; });
}

int RowCount() { return static_cast<int>(shelfScreen.courses.size()) + 1; }

// The name cut, at a character's start, to the room it may take.
std::string FittedName(const DrawContext& dc, const std::string& name) {
    if (dc.TextWidth(name) <= NameRoom) return name;
    std::string cut = name;
    while (!cut.empty() && dc.TextWidth(cut + "…") > NameRoom) {
        do cut.pop_back();
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80);
        if (!cut.empty() && static_cast<unsigned char>(cut.back()) >= 0xC0) cut.pop_back();
    }
    return cut + "…";
}

void DrawCourseRow(DrawContext& dc, const ShelfCourse& course, int shownRow) {
    const int ox = WindowOrigin.x, y = MenuRowTop(shownRow);
    const bool cleared = course.bestTime > 0;
    dc.SetTextColor(cleared ? MenuCompletedText : MenuOpenText);
    if (cleared) {
        char bestTime[TimeTextSize] = {};
        FormatTimeText(course.bestTime, bestTime);
        dc.TextOut(ox + BestTimeLeft, y, bestTime);
    }
    std::shared_ptr<Font> japanese, previous;
    if (HasJapanese(course.name) && GameLanguage != Language::Japanese)
        japanese = Font::Create(TextsIn(Language::Japanese).fontFace, MenuFontHeight, FW_BOLD);
    const bool otherFace = japanese != nullptr;
    if (otherFace) previous = dc.SelectFont(japanese);
    dc.TextOut(ox + MenuLeft, y, FittedName(dc, (cleared ? ClearedMark : "") + course.name));
    if (otherFace) dc.SelectFont(previous);
}

void DrawScrollMarks(DrawContext& dc) {
    dc.SetBkColor(MenuBackground);
    dc.SetTextColor(MenuOpenText);
    if (shelfScreen.top > 0) dc.TextOut(WindowOrigin.x + ScrollMarkLeft, MenuRowTop(0), "▲");
    if (shelfScreen.top + ShelfRowsShown < RowCount())
        dc.TextOut(WindowOrigin.x + ScrollMarkLeft, MenuRowTop(ShelfRowsShown - 1), "▼");
}

}  // namespace

void FillShelfScreen() {
    const std::string onCursor =
        ShelfCursorOnOtherFile() ? "" : shelfScreen.courses[static_cast<std::size_t>(shelfScreen.cursor)].path;
    shelfScreen.courses = ListShelf();
    const auto found = std::find_if(shelfScreen.courses.begin(), shelfScreen.courses.end(),
                                    [&](const ShelfCourse& course) { return course.path == onCursor; });
    shelfScreen.cursor = static_cast<int>(found - shelfScreen.courses.begin());
    if (onCursor.empty()) shelfScreen.cursor = 0;
    shelfScreen.top = 0;
    MoveShelfCursor(0);
}

bool ShelfCursorOnOtherFile() {
    return shelfScreen.cursor < 0 || shelfScreen.cursor >= static_cast<int>(shelfScreen.courses.size());
}

bool MoveShelfCursor(int rows) {
    const int before = shelfScreen.cursor;
    shelfScreen.cursor = std::clamp(before + rows, 0, RowCount() - 1);
    shelfScreen.top = std::clamp(shelfScreen.top, shelfScreen.cursor - ShelfRowsShown + 1, shelfScreen.cursor);
    return shelfScreen.cursor != before;
}

void DrawShelfScreen() {
    if (!offscreen) return;
    DrawContext dc(*offscreen);
    if (!dc.Ok()) return;
    DrawMenuBar(dc, shelfScreen.cursor - shelfScreen.top);
    MenuFontSelection font(dc);
    const int last = std::min(RowCount(), shelfScreen.top + ShelfRowsShown);
    for (int row = shelfScreen.top; row < last; ++row) {
        dc.SetBkColor(MenuRowBackground(row, shelfScreen.cursor));
        if (row < static_cast<int>(shelfScreen.courses.size())) {
            DrawCourseRow(dc, shelfScreen.courses[static_cast<std::size_t>(row)], row - shelfScreen.top);
        } else {
            dc.SetTextColor(MenuOpenText);
            dc.TextOut(WindowOrigin.x + MenuLeft, MenuRowTop(row - shelfScreen.top), Texts().shelfOtherFile);
        }
    }
    DrawScrollMarks(dc);
}
