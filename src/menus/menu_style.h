// How the menus are drawn, shared by the course menu, the bus-type menu and the shelf.
#pragma once
#include <memory>

#include "platform/draw_context.h"
#include "platform/font.h"
#include "platform/geometry.h"

constexpr int MenuLeft = 50;
constexpr int MenuTop = 100;
constexpr int RowHeight = 20;
constexpr int BestTimeLeft = 490;

// The top of a menu row on the screen.
int MenuRowTop(int row);
// The red bar behind the highlighted row.
void DrawMenuBar(DrawContext& dc, int row);
Colorref MenuRowBackground(int row, int cursor);

// The menu font for the life of one drawing operation; without it the context's font is used.
class MenuFontSelection {
public:
    explicit MenuFontSelection(DrawContext& dc);
    ~MenuFontSelection();
    MenuFontSelection(const MenuFontSelection&) = delete;
    MenuFontSelection& operator=(const MenuFontSelection&) = delete;

private:
    DrawContext& dc_;
    std::shared_ptr<Font> font_;
    std::shared_ptr<Font> previous_;
};
