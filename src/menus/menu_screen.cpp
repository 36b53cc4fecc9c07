// Placeholder; replaced by the menus' implementation.
#include "menus/menu_screen.h"
char CourseNames[MenuTextSlots][MenuTextSize];
char BusCaptions[MenuTextSlots][MenuTextSize];
MenuScreen::MenuScreen() = default;
MenuScreen::~MenuScreen() = default;
void MenuScreen::DrawCourseMenu() {}
void MenuScreen::DrawBusMenu() {}
