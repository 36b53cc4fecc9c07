// The shelf screen: the player's own courses (records/shelf.h) in the course menu's style, each
// with its best time and a cleared mark, then one row that opens the file dialog. It shows
// twelve rows at a time and scrolls with the cursor.
#pragma once
#include <vector>

#include "records/shelf.h"

// The ScreenState of the shelf, after those of the course menu, the bus menu, driving and the result.
constexpr int ShelfSelect = 4;
constexpr int ShelfRowsShown = 12;

struct ShelfScreen {
    std::vector<ShelfCourse> courses;
    int cursor = 0;  // 0 .. courses.size(); the last row is the file dialog's
    int top = 0;     // the first row shown
};
extern ShelfScreen shelfScreen;

// Reads the shelf again, keeping the cursor on the course it was on where it can.
void FillShelfScreen();
// The row under the cursor is the file dialog's.
bool ShelfCursorOnOtherFile();
// Moves the cursor by rows within the list; true when it moved.
bool MoveShelfCursor(int rows);
void DrawShelfScreen();
