// The course menu and the bus-type menu.
#pragma once
#include <cstdint>

constexpr int CourseCount = 12;
constexpr int BusCaptionCount = 4;
constexpr int MenuTextSlots = 20;
constexpr int MenuTextSize = 256;

extern char CourseNames[MenuTextSlots][MenuTextSize];  // UTF-8
extern char BusCaptions[MenuTextSlots][MenuTextSize];  // UTF-8

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
