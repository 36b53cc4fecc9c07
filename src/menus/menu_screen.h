// The course menu and the bus-type menu.
#pragma once
#include <cstdint>

#include "platform/geometry.h"

constexpr int CourseCount = 12;
constexpr int BusCaptionCount = 4;
constexpr int MenuTextSlots = 20;
constexpr int MenuTextSize = 256;

extern char CourseNames[MenuTextSlots][MenuTextSize];  // UTF-8
extern char BusCaptions[MenuTextSlots][MenuTextSize];  // UTF-8

// The menu font, in the face of the game's language: created and dropped in each drawing
// operation.
constexpr int MenuFontHeight = 16;

constexpr Colorref MenuHighlight = 0x0000FF;      // bar and highlighted text background: red
constexpr Colorref MenuBackground = 0x000000;     // other text background: black
constexpr Colorref MenuOpenText = 0xFFFFFF;       // open courses and bus captions: white
constexpr Colorref MenuLockedText = 0x808080;     // locked courses: grey
constexpr Colorref MenuCompletedText = 0x00FFFF;  // cleared courses and their best times: yellow

// The last row is open, whatever the best-times table says, while the shelf holds a course:
// set on entering the course menu.
extern bool lastRowOnShelf;

class MenuScreen {
public:
    MenuScreen();
    virtual ~MenuScreen();

    std::int32_t BusCursor = 0;
    std::int32_t ShowBusMenu = 0;
    std::int32_t CourseCursor = 0;

    void DrawCourseMenu();
    void DrawBusMenu();
};
